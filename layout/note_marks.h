#pragma once
#include <QFont>
#include <QObject>
#include <QString>
#include <QTextObjectInterface>

class QAbstractTextDocumentLayout;
class QTextDocument;

// A note's or comment's reference mark is one character of the text, drawn by whichever layout
// the document has: footnotes as their number, endnotes as a small roman number, comments as
// their author's initials, all raised and small as a word processor shows them.
class NoteMarks : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // Teaches `layout` to draw the marks of its document.
    static void registerWith(QAbstractTextDocumentLayout &layout);
    // What a mark at `position` shows: "3", "ii", "JW"; empty for no mark or a mark of its own
    // (a note whose mark is the text before it).
    static QString label(const QTextDocument &document, int position);
    // The note's text, for a tooltip over the mark at `position`; empty when there is no mark there.
    static QString noteText(const QTextDocument &document, int position);
    // The small font a mark of `format` is drawn in, on screen and on paper.
    static QFont raisedFont(const QTextFormat &format);

    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                    const QTextFormat &format) override;

private:
    explicit NoteMarks(QObject *parent) : QObject(parent) {}
};
