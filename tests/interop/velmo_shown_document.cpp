#include "velmo_shown_document.h"
#include "model/list_labels.h"
#include "model/text_properties.h"
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>

namespace census {
namespace {

constexpr double TwipsPerPixel = 15.0; // the reader's own measure, at 96 pixels an inch

int twips(qreal pixels) { return qRound(pixels * TwipsPerPixel); }

// A list paragraph's label hangs in its indent; the file's first-line indent is kept aside.
int keptFirstLineIndent(const QTextBlockFormat &format)
{
    static const QRegularExpression firstIndent(QStringLiteral("\\\\fi(-?\\d+)(?![0-9])"));
    const QString kept = QString::fromLatin1(format.property(model::KeptParagraphWordsProperty).toByteArray());
    const QRegularExpressionMatch match = firstIndent.match(kept);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

ShownAlignment alignment(const QTextBlockFormat &format)
{
    const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
    const bool rightToLeft = format.layoutDirection() == Qt::RightToLeft;
    if (horizontal & Qt::AlignHCenter)
        return ShownAlignment::Centre;
    if (horizontal & Qt::AlignJustify)
        return ShownAlignment::Justify;
    if ((horizontal & Qt::AlignAbsolute) && (horizontal & Qt::AlignRight))
        return ShownAlignment::Right;
    if (horizontal & Qt::AlignTrailing)
        return rightToLeft ? ShownAlignment::Left : ShownAlignment::Right;
    return rightToLeft ? ShownAlignment::Right : ShownAlignment::Left;
}

void describeList(const QTextBlock &block, ShownParagraph &shown)
{
    const QTextList *list = block.textList();
    if (!list)
        return;
    const QString label = model::listLabelOf(block);
    if (label.isEmpty())
        return;
    shown.listItem = true;
    shown.level = list->format().property(model::ListLevelProperty).toInt() + 1;
    const int style = list->format().property(model::ListNumberStyleProperty).toInt();
    const bool bulletStyle = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                             || style == QTextListFormat::ListSquare;
    const bool labelCounts = std::any_of(label.cbegin(), label.cend(), [](QChar c) { return c.isLetterOrNumber(); });
    shown.numbered = !bulletStyle && labelCounts;
}

ShownParagraph shownParagraph(const QTextBlock &block)
{
    ShownParagraph shown;
    QString text = block.text();
    text.remove(QChar::ObjectReplacementCharacter);
    shown.text = text.simplified();
    const QTextBlockFormat format = block.blockFormat();
    describeList(block, shown);
    shown.left = twips(format.leftMargin());
    shown.right = twips(format.rightMargin());
    shown.first = block.textList() ? keptFirstLineIndent(format) : twips(format.textIndent());
    shown.before = twips(format.topMargin());
    shown.after = twips(format.bottomMargin());
    shown.alignment = alignment(format);
    return shown;
}

int pictures(const QTextBlock &block)
{
    int count = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        count += it.fragment().charFormat().isImageFormat() ? int(it.fragment().length()) : 0;
    return count;
}

} // namespace

ShownDocument shownDocument(const QTextDocument &document)
{
    ShownDocument shown;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        shown.pictures += pictures(block);
        ShownParagraph paragraph = shownParagraph(block);
        if (!paragraph.text.isEmpty())
            shown.paragraphs << paragraph;
    }
    return shown;
}

} // namespace census
