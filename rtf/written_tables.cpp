#include "rtf/written_tables.h"
#include "rtf/font_naming.h"
#include "rtf/table_writer.h"
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <vector>

namespace rtf {
namespace {

QRgb opaque(const QBrush &brush)
{
    return brush.color().rgb() | 0xFF000000u;
}

} // namespace

void WrittenTables::collect(const QTextDocument &document, const QString &defaultFamily)
{
    addFont(defaultFamily, QTextCharFormat());
    collectText(document, defaultFamily);
}

int WrittenTables::fontNamed(const QString &family)
{
    addFont(family, QTextCharFormat());
    return m_fontIndex.value(family);
}

int WrittenTables::colorFor(const QColor &color)
{
    if (!color.isValid())
        return 0;
    const QBrush brush(color);
    addColor(brush);
    return colorIndex(brush);
}

void WrittenTables::collectText(const QTextDocument &document, const QString &defaultFamily)
{
    QTextCharFormat last;
    bool first = true;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!first && format == last)
                continue;
            first = false;
            last = format;
            addFont(familyOf(format, defaultFamily), format);
            addColor(format.foreground());
            addColor(format.background());
        }
    }
    const auto use = [this](const QBrush &brush) { addColor(brush); };
    std::vector<QTextFrame *> frames{document.rootFrame()};
    while (!frames.empty()) {
        QTextFrame *frame = frames.back();
        frames.pop_back();
        if (auto *table = qobject_cast<QTextTable *>(frame))
            forEachTableBrush(*table, use);
        const QList<QTextFrame *> children = frame->childFrames();
        frames.insert(frames.end(), children.begin(), children.end());
    }
}

int WrittenTables::colorIndex(const QBrush &brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return m_colorIndex.value(opaque(brush), 0);
}

void WrittenTables::addFont(const QString &family, const QTextCharFormat &format)
{
    if (m_fontIndex.contains(family))
        return;
    m_fontIndex.insert(family, int(m_fonts.size()));
    m_fonts.append({family, familyWord(format), alternativeOf(format)});
}

void WrittenTables::addColor(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return;
    const QRgb rgb = opaque(brush);
    if (m_colorIndex.contains(rgb))
        return;
    m_colorIndex.insert(rgb, int(m_colors.size()) + 1);
    m_colors.append(rgb);
}

} // namespace rtf
