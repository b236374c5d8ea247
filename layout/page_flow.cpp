#include "layout/page_flow.h"
#include "layout/page_notes.h"
#include "layout/table_chunk.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QtGui/private/qfont_p.h>
#include <algorithm>

namespace {

constexpr int PagesPerProgress = 4;

bool hasWord(const QTextBlockFormat &format, const char *word)
{
    return model::wordValue(format.property(model::KeptParagraphWordsProperty).toByteArray(), word, 0) == 1;
}

qreal linesHeight(const QTextLayout &layout, int from, int to)
{
    return layout.lineAt(to - 1).y() + layout.lineAt(to - 1).height() - layout.lineAt(from).y();
}

int sectionOf(const QTextBlock &block) { return block.blockFormat().intProperty(model::SectionProperty); }

} // namespace

PageFlow::PageFlow(QTextDocument &document, std::vector<PageSetup> setups, PageNotes &notes, qreal unitsPerPoint)
    : document_(document), unit_(unitsPerPoint), setups_(std::move(setups)), notes_(notes)
{
    if (setups_.empty())
        setups_.push_back(PageSetup{});
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    widowsByDefault_ = parts && model::wordValue(parts->documentWords, "widowctrl", 0) == 1;
    addedSpacing_ = hasOwnPages(document);
}

PageFlow::~PageFlow() = default;

qreal PageFlow::tableScale() const { return unit_ / (qt_defaultDpiY() / 72.0); }

std::unique_ptr<TableChunk> PageFlow::tableChunk(QTextTable &table, int firstRow, int endRow)
{
    const QSizeF page = document_.pageSize();
    const qreal indent = document_.indentWidth();
    document_.setPageSize(QSizeF(page.width() / tableScale(), -1));
    document_.setIndentWidth(indent / tableScale());
    auto chunk = std::make_unique<TableChunk>(table, firstRow, endRow);
    document_.setPageSize(page);
    document_.setIndentWidth(indent);
    return chunk;
}

const PageSetup &PageFlow::setupOf(int section) const
{
    return setups_[size_t(std::clamp(section, 0, int(setups_.size()) - 1))];
}

qreal PageFlow::bodyWidth(int section) const
{
    const PageSetup &setup = setupOf(section);
    return (setup.paper.width() - setup.margins.left() - setup.margins.right()) * unit_;
}

qreal PageFlow::bodyHeight(int section) const
{
    const PageSetup &setup = setupOf(section);
    return (setup.paper.height() - setup.margins.top() - setup.margins.bottom()) * unit_;
}

std::vector<bool> PageFlow::rowStarts(const QTextTable &table)
{
    std::vector<bool> starts(size_t(table.rows()), false);
    int merged = 0; // the row down to which cells merged so far reach
    for (int row = 0; row < table.rows(); ++row) {
        starts[size_t(row)] = merged <= row;
        for (int column = 0; column < table.columns(); ++column) {
            const QTextTableCell cell = table.cellAt(row, column);
            if (cell.row() == row)
                merged = qMax(merged, row + cell.rowSpan());
        }
    }
    return starts;
}

bool PageFlow::run(const std::function<bool(int)> &progress)
{
    progress_ = &progress;
    enterSection(sectionOf(document_.begin()));
    placeFrame(*document_.rootFrame());
    if (!cancelled_)
        placeEndnotes();
    for (size_t i = 0; i < pages_.size();) {
        size_t end = i;
        while (end < pages_.size() && pages_[end].section == pages_[i].section)
            ++end;
        for (size_t j = i; j < end; ++j)
            pages_[j].sectionPages = int(end - i);
        i = end;
    }
    progress_ = nullptr;
    return !cancelled_;
}

FlowFrame PageFlow::frame() const
{
    return FlowFrame{QFixed(), QFixed::fromReal(bodyWidth(section_)), QFixed(), QFixed()};
}

bool PageFlow::pageEmpty() const { return pages_.back().pieces.empty(); }

qreal PageFlow::footnoteHeight(const std::vector<int> &notes) const
{
    if (notes.empty())
        return 0;
    qreal height = PageNotes::separatorHeight(unit_);
    for (int id : notes)
        height += notes_.height(id, bodyWidth(section_));
    return height;
}

qreal PageFlow::room() const { return bodyHeight(section_) - footnoteHeight(pages_.back().footnotes) - y_; }

void PageFlow::startPage()
{
    PrintedPage next;
    next.section = section_;
    if (!pages_.empty()) {
        const PrintedPage &last = pages_.back();
        next.sectionPage = last.section == section_ ? last.sectionPage + 1 : 1;
        next.number = last.number + 1;
    }
    const int restart = setupOf(section_).firstPageNumber;
    if (next.sectionPage == 1 && restart > 0)
        next.number = restart;
    pages_.push_back(std::move(next));
    y_ = 0;
    belowLast_ = 0;
    if (pages_.size() % PagesPerProgress == 0 && progress_ && *progress_ && !(*progress_)(int(pages_.size())))
        cancelled_ = true;
}

void PageFlow::enterSection(int section)
{
    section = std::clamp(section, 0, int(setups_.size()) - 1);
    if (section == section_)
        return;
    const int previous = std::exchange(section_, section);
    const PageSetup &setup = setupOf(section);
    document_.setPageSize(QSizeF(bodyWidth(section), -1));
    if (previous < 0) {
        startPage();
        return;
    }
    const PageSetup &before = setupOf(previous);
    const bool samePage = setup.start == PageSetup::Start::SamePage && setup.paper == before.paper
                          && setup.margins == before.margins;
    if (samePage)
        return;
    const int next = setup.firstPageNumber > 0 ? setup.firstPageNumber : pages_.back().number + 1;
    const bool wrongSide = (setup.start == PageSetup::Start::OddPage && next % 2 == 0)
                           || (setup.start == PageSetup::Start::EvenPage && next % 2 == 1);
    if (wrongSide) { // the page left blank belongs to the section before
        section_ = previous;
        startPage();
        section_ = section;
    }
    startPage();
}

void PageFlow::placeFrame(QTextFrame &frame)
{
    for (QTextFrame::iterator it = frame.begin(); !it.atEnd() && !cancelled_; ++it) {
        if (QTextFrame *child = it.currentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(child))
                placeTable(*table);
            else
                placeFrame(*child);
        } else if (it.currentBlock().isValid()) {
            placeParagraph(it.currentBlock());
        }
    }
}

// How much of the paragraph must stand on the page it starts on: all of it when kept together,
// its first lines when kept with the next, and as much of the next one when that is kept too.
qreal PageFlow::keptHeight(const QTextBlock &block)
{
    qreal height = 0;
    QTextBlock at = block;
    for (int chained = 0; chained < 8 && at.isValid(); ++chained) {
        const QTextBlockFormat format = at.blockFormat();
        if (chained > 0) {
            if (sectionOf(at) != section_ || document_.frameAt(at.position()) != document_.rootFrame())
                break;
            breakIntoLines(at, frame());
            height += format.topMargin();
        }
        const QTextLayout &layout = *at.layout();
        const int lines = layout.lineCount();
        if (lines == 0)
            break;
        const bool whole = hasWord(format, "keep") || hasWord(format, "keepn");
        const int first = whole ? lines : qMin(lines, widowsByDefault_ || hasWord(format, "widctlpar") ? 2 : 1);
        height += linesHeight(layout, 0, first);
        if (!hasWord(format, "keepn"))
            break;
        height += format.bottomMargin();
        at = at.next();
    }
    return height;
}

void PageFlow::placeParagraph(const QTextBlock &block)
{
    enterSection(sectionOf(block));
    const QTextBlockFormat format = block.blockFormat();
    const bool breakBefore = (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) || hasWord(format, "pagebb");
    // The empty paragraph a file's last paragraph mark leaves behind starts no page of its own.
    const bool trailing = block.length() == 1 && !block.next().isValid();
    if (breakBefore && !pageEmpty() && !trailing)
        startPage();
    breakIntoLines(block, frame());
    qreal spacing = pageEmpty()       ? format.topMargin()
                    : addedSpacing_ ? belowLast_ + format.topMargin()
                                    : qMax(belowLast_, format.topMargin());
    if (!pageEmpty()) {
        const qreal kept = keptHeight(block);
        if (spacing + kept > room() && kept <= bodyHeight(section_)) {
            startPage();
            spacing = format.topMargin();
        }
    }
    const bool widowControl = !hasWord(format, "nowidctlpar") && (widowsByDefault_ || hasWord(format, "widctlpar"));
    placeLines(block, spacing, widowControl);
    belowLast_ = format.bottomMargin();
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysAfter)
        startPage();
}

std::vector<int> PageFlow::footnotesIn(const QTextBlock &block, int from, int to) const
{
    std::vector<int> found;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int at = fragment.position() - block.position();
        if (at >= to)
            break;
        if (at < from || fragment.charFormat().objectType() != model::NoteMarkObject)
            continue;
        const int id = fragment.charFormat().intProperty(model::NoteIdProperty);
        if (notes_.isFootnote(id) && std::find(found.begin(), found.end(), id) == found.end())
            found.push_back(id);
    }
    return found;
}
