// The selection's character and paragraph formats, as the format menus read and set them.
#include "editor/rich_text_box.h"
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QColor fromBgr(quint32 bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }
quint32 toBgr(const QColor &c) { return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16; }

bool isUnderlined(const QTextCharFormat &f)
{
    if (f.hasProperty(QTextFormat::TextUnderlineStyle))
        return f.underlineStyle() != QTextCharFormat::NoUnderline;
    return f.fontUnderline();
}

int alignmentCode(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter) return 2;
    if (a & Qt::AlignRight) return 1;
    if (a & Qt::AlignJustify) return 3;
    return 0;
}

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

} // namespace

void RichTextBox::forEachSelectedRun(const RunVisitor &visit) const
{
    const QTextCursor c = textCursor();
    const int start = c.selectionStart(), end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = qMax(start, f.position()), to = qMin(end, f.position() + f.length());
            if (from < to && !visit(from, to, f))
                return;
        }
    }
}

// A document has few distinct formats and many runs: each format is read once, by its number.
template <typename Value, typename Read>
std::optional<Value> RichTextBox::uniformFormat(Read read) const
{
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return read(c.charFormat());
    std::optional<Value> first;
    int lastIndex = -1;
    QSet<int> sameAsFirst;
    bool mixed = false;
    forEachSelectedRun([&](int, int, const QTextFragment &fragment) {
        const int index = fragment.charFormatIndex();
        if (index == lastIndex || sameAsFirst.contains(index))
            return true;
        lastIndex = index;
        const Value v = read(fragment.charFormat());
        if (!first)
            first = v;
        mixed = *first != v;
        sameAsFirst.insert(index);
        return !mixed;
    });
    if (mixed)
        return std::nullopt;
    return first ? first : std::optional<Value>(read(c.charFormat()));
}

void RichTextBox::mergeFormat(const QTextCharFormat &format) { mergeCurrentCharFormat(format); }

std::optional<quint32> RichTextBox::SelColor() const
{
    const QColor text = palette().color(QPalette::Text);
    return uniformFormat<quint32>([&](const QTextCharFormat &f) {
        return toBgr(f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : text);
    });
}

void RichTextBox::SetSelColor(quint32 bgr)
{
    QTextCharFormat f;
    f.setForeground(fromBgr(bgr));
    mergeFormat(f);
}

std::optional<double> RichTextBox::SelFontSize() const
{
    const QFont base = document()->defaultFont();
    return uniformFormat<double>([&](const QTextCharFormat &f) { return pointSizeOf(f, base); });
}

void RichTextBox::SetSelFontSize(double points)
{
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

std::optional<bool> RichTextBox::SelBold() const
{
    const QFont base = document()->defaultFont();
    return uniformFormat<bool>([&](const QTextCharFormat &f) { return f.font().resolve(base).bold(); });
}

void RichTextBox::SetSelBold(bool on)
{
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

std::optional<bool> RichTextBox::SelItalic() const
{
    const QFont base = document()->defaultFont();
    return uniformFormat<bool>([&](const QTextCharFormat &f) { return f.font().resolve(base).italic(); });
}

void RichTextBox::SetSelItalic(bool on)
{
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

std::optional<bool> RichTextBox::SelUnderline() const
{
    return uniformFormat<bool>([](const QTextCharFormat &f) { return isUnderlined(f); });
}

void RichTextBox::SetSelUnderline(bool on)
{
    QTextCharFormat f;
    f.setUnderlineStyle(on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    mergeFormat(f);
}

std::optional<bool> RichTextBox::SelStrikeThru() const
{
    return uniformFormat<bool>([](const QTextCharFormat &f) { return f.fontStrikeOut(); });
}

void RichTextBox::SetSelStrikeThru(bool on)
{
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeFormat(f);
}

std::optional<int> RichTextBox::SelAlignment() const
{
    const QTextCursor c = textCursor();
    const QTextBlock last = document()->findBlock(c.selectionEnd());
    std::optional<int> first;
    for (QTextBlock b = document()->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
        const int code = alignmentCode(b.blockFormat().alignment());
        if (first && *first != code)
            return std::nullopt;
        first = code;
        if (b == last)
            break;
    }
    return first;
}

// Left and Right name the page's sides in a right-to-left paragraph too, as its file did.
void RichTextBox::SetSelAlignment(int code)
{
    QTextCursor c = textCursor();
    QTextBlockFormat f;
    f.setAlignment(alignmentOf(code));
    c.beginEditBlock();
    c.mergeBlockFormat(f);
    QTextBlockFormat sides;
    sides.setAlignment(alignmentOf(code) | Qt::AlignAbsolute);
    const QTextBlock last = document()->findBlock(c.selectionEnd());
    for (QTextBlock b = document()->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
        if (b.blockFormat().layoutDirection() == Qt::RightToLeft)
            QTextCursor(b).mergeBlockFormat(sides);
        if (b == last)
            break;
    }
    c.endEditBlock();
}
