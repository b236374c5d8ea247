#pragma once
#include <QDateTime>

class PageFlow;
class PageNotes;
class QPainter;
class QTextDocument;
struct PagePiece;
struct PrintedPage;

// Draws pages spread by a PageFlow, in the document's units with the paper's top left corner at
// the origin: header, body, footnotes and footer, fields filled in as of `now`.
class PagePainter
{
public:
    PagePainter(const QTextDocument &document, PageFlow &flow, const PageNotes &notes);
    // Numbers pages at the foot's right as Qt's own printing does, for documents with no page of their own.
    void numberPlainPages() { plainNumbers_ = true; }
    void paint(QPainter &painter, const PrintedPage &page) const;
    void drawTable(QPainter &painter, const PagePiece &piece) const;

private:
    void drawHeaders(QPainter &painter, const PrintedPage &page) const;
    void drawPiece(QPainter &painter, const PagePiece &piece, qreal width) const;
    void drawLines(QPainter &painter, const PagePiece &piece, qreal width) const;
    void drawFootnotes(QPainter &painter, const PrintedPage &page, qreal width, qreal height) const;
    void drawPlainNumber(QPainter &painter, const PrintedPage &page) const;

    const QTextDocument &document_;
    PageFlow &flow_;
    const PageNotes &notes_;
    QDateTime now_ = QDateTime::currentDateTime();
    bool plainNumbers_ = false;
};
