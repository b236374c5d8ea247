#pragma once
#include <QPageLayout>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QTextDocument;

// Printing a document as its file laid out the pages: each section's paper, orientation and
// margins, its headers and footers with their page numbers, its breaks, and its notes. A document
// with no page of its own (one made in Velmo) prints on the device's page inside Qt's printing's
// margins, numbered at the foot as Qt's printing numbers it.
namespace printing {

enum class Outcome { Printed, Cancelled, Failed };

// The paper and orientation a document's first section asks for, or nothing for a document with no
// page setup of its own.
std::optional<QPageLayout> documentPaper(const QTextDocument &document);

// Prints `document` on `device`, laid out by Velmo's own layout on a copy of it; `progress` hears
// (pages done, pages in all, 0 while they are still being counted) and stops the printing by
// returning false. The device's page layout is as it was afterwards.
Outcome printDocument(const QTextDocument &document, QPagedPaintDevice &device,
                      const std::function<bool(int, int)> &progress);
// The same with a copy made for the printing (with its parts), which it lays out and changes.
Outcome printCopy(QTextDocument &copy, QPagedPaintDevice &device, const std::function<bool(int, int)> &progress);

} // namespace printing
