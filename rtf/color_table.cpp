#include "rtf/color_table.h"
#include "rtf/reader.h"
#include <algorithm>

namespace rtf {

void ColorTable::setRed(int value)
{
    m_red = std::clamp(value, 0, 255);
    m_given = true;
}

void ColorTable::setGreen(int value)
{
    m_green = std::clamp(value, 0, 255);
    m_given = true;
}

void ColorTable::setBlue(int value)
{
    m_blue = std::clamp(value, 0, 255);
    m_given = true;
}

bool ColorTable::text(QByteArrayView bytes)
{
    bool ended = false;
    for (char c : bytes) {
        if (c != ';')
            continue;
        m_colors.push_back(m_given ? QColor(m_red, m_green, m_blue) : QColor());
        m_red = m_green = m_blue = 0;
        m_given = false;
        ended = true;
    }
    return ended;
}

// ---- the reader's words for the table

void Reader::colorTableWord(Command command, int param)
{
    switch (command) {
    case Command::Red: m_colors.setRed(param); break;
    case Command::Green: m_colors.setGreen(param); break;
    case Command::Blue: m_colors.setBlue(param); break;
    default: break;
    }
}

} // namespace rtf
