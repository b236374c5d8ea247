#include "rtf/font_naming.h"
#include <QStringList>
#include <QVariant>

namespace rtf {

QString familyOf(const QTextCharFormat &format, const QString &fallback)
{
    const QVariant families = format.fontFamilies();
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.first().isEmpty())
            return list.first();
    }
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    if (!family.isEmpty())
        return family;
    return fallback;
}

// The font table's family word for a style hint, so other readers can fall
// back to a face of the same kind.
const char *familyWord(const QTextCharFormat &format)
{
    if (!format.hasProperty(QTextFormat::FontStyleHint))
        return "\\fnil";
    switch (format.fontStyleHint()) {
    case QFont::Serif: return "\\froman";
    case QFont::SansSerif: return "\\fswiss";
    case QFont::Monospace:
    case QFont::TypeWriter: return "\\fmodern";
    case QFont::Cursive: return "\\fscript";
    case QFont::Decorative:
    case QFont::Fantasy: return "\\fdecor";
    default: return "\\fnil";
    }
}

// A second family is the file's alternative name for the first.
QString alternativeOf(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    return families.size() > 1 ? families.at(1) : QString();
}

} // namespace rtf
