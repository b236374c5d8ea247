#include "layout/printed_pages.h"
#include "layout/page_flow.h"
#include "layout/page_headers.h"
#include "layout/page_notes.h"
#include "layout/page_painter.h"
#include "model/document_parts.h"
#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>
#include <QtGui/private/qfont_p.h>
#include <QtGui/private/qtextimagehandler_p.h>
#include <memory>

namespace printing {
namespace {

// Qt's printing keeps 2 cm from the printable area, in whole pixels of the screen.
qreal qtPrintMargin()
{
    const int dpi = qt_defaultDpiY();
    return int(2 / 2.54 * dpi) * 72.0 / dpi;
}

// The print copy's layout: it lays out nothing, as the pages' own layout breaks its paragraphs;
// it only knows how to size and draw pictures and note marks inside them.
class PrintCopyLayout : public QAbstractTextDocumentLayout
{
public:
    PrintCopyLayout(QTextDocument *document, QPaintDevice *device) : QAbstractTextDocumentLayout(document)
    {
        setPaintDevice(device);
        registerHandler(QTextFormat::ImageObject, new QTextImageHandler(this));
        PrintedNoteMarks::registerWith(*this);
    }
    void draw(QPainter *, const PaintContext &) override {}
    int hitTest(const QPointF &, Qt::HitTestAccuracy) const override { return -1; }
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return {}; }
    QRectF frameBoundingRect(QTextFrame *) const override { return {}; }
    QRectF blockBoundingRect(const QTextBlock &) const override { return {}; }

protected:
    void documentChanged(int, int, int) override {}
};

QTextBlockFormat scaled(QTextBlockFormat format, qreal scale)
{
    for (auto property : {QTextFormat::BlockTopMargin, QTextFormat::BlockBottomMargin, QTextFormat::BlockLeftMargin,
                          QTextFormat::BlockRightMargin, QTextFormat::TextIndent})
        if (format.hasProperty(property))
            format.setProperty(property, format.doubleProperty(property) * scale);
    QList<QTextOption::Tab> tabs = format.tabPositions();
    for (QTextOption::Tab &tab : tabs)
        tab.position *= scale;
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
    const int type = format.lineHeightType();
    if (type == QTextBlockFormat::FixedHeight || type == QTextBlockFormat::MinimumHeight
        || type == QTextBlockFormat::LineDistanceHeight)
        format.setLineHeight(format.lineHeight() * scale, type);
    return format;
}

void collectParagraphs(QTextFrame &frame, std::vector<QTextBlock> &blocks)
{
    for (QTextFrame::iterator it = frame.begin(); !it.atEnd(); ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            if (!qobject_cast<QTextTable *>(child))
                collectParagraphs(*child, blocks);
        } else if (it.currentBlock().isValid()) {
            blocks.push_back(it.currentBlock());
        }
    }
}

// Paragraph margins, indents and tab stops are kept in the screen's pixels: the copy's paragraphs
// outside tables (which the table chunks lay out at the screen's resolution) get them in the printer's.
void scaleParagraphs(QTextDocument &copy, qreal scale)
{
    std::vector<QTextBlock> blocks;
    collectParagraphs(*copy.rootFrame(), blocks);
    QHash<int, QTextBlockFormat> formats;
    std::vector<std::pair<QTextBlock, QTextBlockFormat>> changes;
    for (const QTextBlock &block : blocks) {
        auto found = formats.find(block.blockFormatIndex());
        if (found == formats.end())
            found = formats.insert(block.blockFormatIndex(), scaled(block.blockFormat(), scale));
        if (*found != block.blockFormat())
            changes.emplace_back(block, *found);
    }
    for (const auto &[block, format] : changes)
        QTextCursor(block).setBlockFormat(format);
}

void prepareCopy(QTextDocument *copy, QPaintDevice *device)
{
    copy->setUndoRedoEnabled(false);
    copy->setDocumentLayout(new PrintCopyLayout(copy, device));
    QTextFrameFormat root = copy->rootFrame()->frameFormat();
    root.setMargin(0);
    root.setPadding(0);
    root.setBorder(0);
    copy->rootFrame()->setFrameFormat(root);
    const qreal scale = device->logicalDpiY() / qreal(qt_defaultDpiY());
    copy->setIndentWidth(copy->indentWidth() * scale);
    scaleParagraphs(*copy, scale);
}

// A document of Velmo's own prints on the device's page as Qt's printing would print it.
PageSetup plainSetup(const QPageLayout &device)
{
    PageSetup setup;
    setup.paper = device.fullRect(QPageLayout::Point).size();
    const QMarginsF printable = device.margins(QPageLayout::Point);
    setup.margins = printable + QMarginsF(qtPrintMargin(), qtPrintMargin(), qtPrintMargin(), qtPrintMargin());
    return setup;
}

QPageLayout fullPage(const PageSetup &setup)
{
    QPageLayout layout = setup.pageLayout();
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

// A header taller than the room above the text pushes the text down, and a footer pushes it up.
void makeRoomForHeaders(const QTextDocument &document, std::vector<PageSetup> &setups, QPaintDevice *device)
{
    const qreal unit = device->logicalDpiY() / 72.0;
    for (size_t section = 0; section < setups.size(); ++section) {
        PageSetup &setup = setups[section];
        const qreal width = (setup.paper.width() - setup.margins.left() - setup.margins.right()) * unit;
        const qreal header = tallestHeader(document, int(section), false, device, width) / unit;
        const qreal footer = tallestHeader(document, int(section), true, device, width) / unit;
        setup.margins.setTop(qMax(setup.margins.top(), header > 0 ? setup.headerTop + header : 0));
        setup.margins.setBottom(qMax(setup.margins.bottom(), footer > 0 ? setup.footerBottom + footer : 0));
        const qreal room = setup.paper.height() - setup.margins.top() - setup.margins.bottom();
        if (room < 72) // headers that leave no room for text give some back
            setup.margins.setBottom(setup.margins.bottom() - (72 - room));
    }
}

Outcome paint(QPagedPaintDevice &device, const PageFlow &flow, const PagePainter &pages,
              const std::function<bool(int, int)> &progress)
{
    const int count = int(flow.pages().size());
    QPainter painter;
    for (int i = 0; i < count; ++i) {
        const PrintedPage &page = flow.pages()[size_t(i)];
        device.setPageLayout(fullPage(flow.setupOf(page.section)));
        if (i == 0 ? !painter.begin(&device) : !device.newPage())
            return Outcome::Failed;
        painter.resetTransform();
        pages.paint(painter, page);
        if (progress && !progress(i + 1, count)) {
            painter.end();
            return Outcome::Cancelled;
        }
    }
    return painter.end() ? Outcome::Printed : Outcome::Failed;
}

} // namespace

std::optional<QPageLayout> documentPaper(const QTextDocument &document)
{
    if (!hasPageSetup(document))
        return std::nullopt;
    return sectionPageSetups(document).front().pageLayout();
}

Outcome printDocument(const QTextDocument &document, QPagedPaintDevice &device,
                      const std::function<bool(int, int)> &progress)
{
    const std::unique_ptr<QTextDocument> copy(document.clone());
    model::DocumentParts::copy(document, *copy);
    return printCopy(*copy, device, progress);
}

Outcome printCopy(QTextDocument &document, QPagedPaintDevice &device, const std::function<bool(int, int)> &progress)
{
    const QPageLayout before = device.pageLayout();
    const bool ownPages = hasOwnPages(document);
    std::vector<PageSetup> setups = ownPages ? onPaper(sectionPageSetups(document), before)
                                             : std::vector<PageSetup>{plainSetup(before)};
    QTextDocument *copy = &document;
    prepareCopy(copy, &device);
    if (ownPages)
        makeRoomForHeaders(*copy, setups, &device);
    const qreal unitsPerPoint = device.logicalDpiY() / 72.0;
    PageNotes notes(*copy, &device, unitsPerPoint);
    PageFlow flow(*copy, std::move(setups), notes, unitsPerPoint);
    if (!flow.run([&progress](int pages) { return !progress || progress(pages, 0); }))
        return Outcome::Cancelled;
    PagePainter pages(*copy, flow, notes);
    if (!ownPages)
        pages.numberPlainPages();
    const Outcome outcome = paint(device, flow, pages, progress);
    device.setPageLayout(before);
    return outcome;
}

} // namespace printing
