#pragma once
#include <QHash>
#include <QString>
#include <QTextObjectInterface>
#include <memory>
#include <vector>

class QAbstractTextDocumentLayout;
class QPaintDevice;
class QPainter;
class QTextDocument;

// Note marks in a copy laid out for a printer: the editor's marks, measured in the printer's pixels.
class PrintedNoteMarks : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    static void registerWith(QAbstractTextDocumentLayout &layout);
    QSizeF intrinsicSize(QTextDocument *document, int position, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int position,
                    const QTextFormat &format) override;

private:
    explicit PrintedNoteMarks(QObject *parent) : QObject(parent) {}
};

// The notes of a document as printed: each note's text with its mark's number in front, laid
// out by Qt's layout at the text width of the page it lands on. Footnotes are numbered 1, 2, 3 and
// endnotes i, ii, iii in the order of their marks, as the editor shows them.
class PageNotes
{
public:
    // Laid out for `device`, `unitsPerPoint` of its pixels to a point.
    PageNotes(const QTextDocument &document, QPaintDevice *device, qreal unitsPerPoint);
    ~PageNotes();

    // The footnotes and the endnotes, in the order of their marks.
    const std::vector<int> &endnotes() const { return endnotes_; }
    bool isFootnote(int id) const;
    QString label(int id) const;

    qreal height(int id, qreal width) const;
    void draw(QPainter &painter, int id, qreal width) const;
    // The gap and short line above a page's footnotes.
    static qreal separatorHeight(qreal unitsPerPoint);
    void drawSeparator(QPainter &painter, qreal width) const;

private:
    QTextDocument &laidOut(int id, qreal width) const;

    const QTextDocument &document_;
    QPaintDevice *device_;
    qreal unit_;
    QHash<int, QString> labels_;
    QHash<int, bool> footnote_;
    std::vector<int> endnotes_;
    mutable QHash<int, std::shared_ptr<QTextDocument>> texts_;
};
