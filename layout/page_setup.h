#pragma once
#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <vector>

class QTextDocument;

// How one section of a document is laid on paper, in points, as its file set it up.
struct PageSetup
{
    enum class Start { SamePage, NewPage, OddPage, EvenPage };

    QSizeF paper;      // width and height as the pages stand: wider than high when landscape
    QMarginsF margins; // the text's distance from the paper's edges
    qreal headerTop = 36;    // from the paper's top to the header's top
    qreal footerBottom = 36; // from the paper's bottom to the footer's bottom
    bool titlePage = false;  // the section's first page has a header and footer of its own
    bool facingPages = false; // left and right pages have headers and footers of their own
    Start start = Start::NewPage;
    int firstPageNumber = 0;  // where page numbers restart, or 0 to go on counting

    bool landscape() const { return paper.width() > paper.height(); }
    QPageLayout pageLayout() const;
};

// Whether the document was given a page of its own (a file with page size or margins); a
// document made in Velmo has none.
bool hasPageSetup(const QTextDocument &document);

// Whether the document's pages are its own: a page setup, headers or footers, notes or sections.
// Otherwise it prints on the printer's page as Velmo always printed.
bool hasOwnPages(const QTextDocument &document);

// Each section's setup in order; one for a document of a single section. A section's words
// override the document's.
std::vector<PageSetup> sectionPageSetups(const QTextDocument &document);

// The setup of every section printed on `paper`, the page picked in the print dialog, with the
// first section's orientation as picked: sections of the other orientation turn the paper.
std::vector<PageSetup> onPaper(std::vector<PageSetup> setups, const QPageLayout &paper);
