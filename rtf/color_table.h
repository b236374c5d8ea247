#pragma once
#include <QByteArrayView>
#include <QColor>
#include <vector>

namespace rtf {

// The \colortbl destination: \red, \green and \blue up to each ';'. An entry
// with no colour given is the automatic colour, which sets nothing.
class ColorTable
{
public:
    void begin() { m_given = false; }
    void setRed(int value);
    void setGreen(int value);
    void setBlue(int value);
    // True when the text ended at least one entry.
    bool text(QByteArrayView bytes);

    // Invalid for index 0, the automatic colour and indices past the table.
    QColor at(int index) const
    {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QColor();
    }

    int size() const { return int(m_colors.size()); }

private:
    std::vector<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_given = false;
};

} // namespace rtf
