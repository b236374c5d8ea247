#pragma once
#include <QDateTime>
#include <QString>
#include <memory>

class QPaintDevice;
class QTextDocument;
struct PageSetup;
struct PrintedPage;

// What fields print as on one page.
struct PageFieldValues
{
    int page = 1;
    int pages = 1;
    int sectionPages = 1;
    QDateTime now;
};

// The text a field with `instruction` ("PAGE", "DATE \@ \"d MMMM yyyy\"") prints, or a null
// string for a field printing leaves as the file had it.
QString printedField(const QString &instruction, const PageFieldValues &values);
// Replaces the results of `text`'s fields with what they print on the page.
void fillFields(QTextDocument &text, const PageFieldValues &values);

// The header or footer a page prints: the first page's of a section with a title page, the left
// or right page's with facing pages, else the section's; a section without one of its own prints
// the one of the section before. A copy with its fields filled in, `width` wide, or null.
// The height of a section's tallest header (or footer) of any kind, laid out for `device` `width` wide.
qreal tallestHeader(const QTextDocument &document, int section, bool footer, QPaintDevice *device, qreal width);

std::unique_ptr<QTextDocument> printedHeader(const QTextDocument &document, const PrintedPage &page,
                                             const PageSetup &setup, bool footer,
                                             const PageFieldValues &values, QPaintDevice *device, qreal width);
