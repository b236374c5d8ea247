#include "layout/page_notes.h"
#include "layout/note_marks.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr qreal SeparatorGap = 6;    // points above and below the line
constexpr qreal SeparatorLength = 144; // points, as word processors draw it

// The note's own mark, where its text repeats it, becomes its label in small raised figures.
void writeOwnMark(QTextDocument &text, const QString &label)
{
    bool found = false;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        std::vector<std::pair<int, QTextCharFormat>> marks;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().objectType() == model::NoteMarkObject)
                marks.emplace_back(it.fragment().position(), it.fragment().charFormat());
        for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
            QTextCursor cursor(&text);
            cursor.setPosition(mark->first);
            cursor.setPosition(mark->first + 1, QTextCursor::KeepAnchor);
            QTextCharFormat format = model::forNewText(mark->second);
            format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
            cursor.insertText(label, format);
            found = true;
        }
    }
    if (!found && !label.isEmpty()) {
        QTextCursor cursor(&text);
        QTextCharFormat format = model::forNewText(cursor.charFormat());
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.insertText(label, format);
        cursor.insertText(QStringLiteral(" "), model::forNewText(cursor.charFormat()));
    }
}

} // namespace

void PrintedNoteMarks::registerWith(QAbstractTextDocumentLayout &layout)
{
    layout.registerHandler(model::NoteMarkObject, new PrintedNoteMarks(&layout));
}

// Comments are the editor's, not the page's: their marks do not print.
static QString printedLabel(const QTextDocument &document, int position, const QTextFormat &format)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    const model::Note *note = parts ? parts->note(format.intProperty(model::NoteIdProperty)) : nullptr;
    return note && note->kind == model::Note::Kind::Comment ? QString() : NoteMarks::label(document, position);
}

QSizeF PrintedNoteMarks::intrinsicSize(QTextDocument *document, int position, const QTextFormat &format)
{
    QPaintDevice *device = document->documentLayout()->paintDevice();
    const QFontMetricsF full(format.toCharFormat().font(), device);
    const QString label = printedLabel(*document, position, format);
    if (label.isEmpty())
        return QSizeF(0, full.ascent());
    return QSizeF(QFontMetricsF(NoteMarks::raisedFont(format), device).horizontalAdvance(label) + full.averageCharWidth() / 8,
                  full.ascent());
}

void PrintedNoteMarks::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                                  const QTextFormat &format)
{
    const QString label = printedLabel(*document, position, format);
    if (label.isEmpty())
        return;
    const QFont font(NoteMarks::raisedFont(format), painter->device());
    painter->save();
    painter->setFont(font);
    const QTextCharFormat chars = format.toCharFormat();
    if (chars.foreground().style() != Qt::NoBrush)
        painter->setPen(chars.foreground().color());
    painter->drawText(QPointF(rect.left(), rect.top() + QFontMetricsF(font, painter->device()).ascent()), label);
    painter->restore();
}

PageNotes::PageNotes(const QTextDocument &document, QPaintDevice *device, qreal unitsPerPoint)
    : document_(document), device_(device), unit_(unitsPerPoint)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts || parts->notes.isEmpty())
        return;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            if (chars.objectType() != model::NoteMarkObject)
                continue;
            const int id = chars.intProperty(model::NoteIdProperty);
            const model::Note *note = parts->note(id);
            if (!note || note->kind == model::Note::Kind::Comment || labels_.contains(id))
                continue;
            labels_.insert(id, NoteMarks::label(document, it.fragment().position()));
            footnote_.insert(id, note->kind == model::Note::Kind::Footnote);
            if (note->kind == model::Note::Kind::Endnote)
                endnotes_.push_back(id);
        }
}

PageNotes::~PageNotes() = default;

bool PageNotes::isFootnote(int id) const { return footnote_.value(id, false); }

QString PageNotes::label(int id) const { return labels_.value(id); }

QTextDocument &PageNotes::laidOut(int id, qreal width) const
{
    std::shared_ptr<QTextDocument> &text = texts_[id];
    if (!text) {
        const model::Note *note = model::DocumentParts::find(document_)->note(id);
        text.reset(note && note->text ? note->text->clone() : new QTextDocument);
        text->setUndoRedoEnabled(false);
        text->documentLayout()->setPaintDevice(device_);
        text->setDocumentMargin(0);
        writeOwnMark(*text, label(id));
    }
    if (!qFuzzyCompare(text->textWidth(), width))
        text->setTextWidth(width);
    return *text;
}

qreal PageNotes::height(int id, qreal width) const
{
    return laidOut(id, width).documentLayout()->documentSize().height();
}

void PageNotes::draw(QPainter &painter, int id, qreal width) const
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    laidOut(id, width).documentLayout()->draw(&painter, context);
}

qreal PageNotes::separatorHeight(qreal unitsPerPoint)
{
    return 2 * SeparatorGap * unitsPerPoint;
}

void PageNotes::drawSeparator(QPainter &painter, qreal width) const
{
    const qreal gap = SeparatorGap * unit_;
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(QPointF(0, gap), QPointF(qMin(width, SeparatorLength * unit_), gap));
    painter.restore();
}
