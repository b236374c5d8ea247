#pragma once
#include <QBrush>
#include <QHash>
#include <QList>
#include <QString>

class QTextCharFormat;
class QTextDocument;

namespace rtf {

// The font and colour tables a written file starts with: every family and
// colour the document's runs and table cells use, in the order first met,
// the document's default family first.
class WrittenTables
{
public:
    struct Font
    {
        QString name;
        const char *family = "\\fnil";
        QString alternative;
    };

    void collect(const QTextDocument &document, const QString &defaultFamily);
    // Adds what another document written into the same file uses (a header, a note).
    void collectText(const QTextDocument &document, const QString &defaultFamily);
    // The entry of a family or colour, added when it is not there yet.
    int fontNamed(const QString &family);
    int colorFor(const QColor &color);
    const QList<Font> &fonts() const { return m_fonts; }
    const QList<QRgb> &colors() const { return m_colors; }
    int fontIndex(const QString &family) const { return m_fontIndex.value(family); }
    // The brush's entry in the colour table, 0 (the automatic colour) for none.
    int colorIndex(const QBrush &brush) const;

private:
    void addFont(const QString &family, const QTextCharFormat &format);
    void addColor(const QBrush &brush);

    QList<Font> m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndex;
};

} // namespace rtf
