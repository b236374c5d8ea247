#include "layout/page_setup.h"
#include "model/document_parts.h"
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr qreal TwipsPerPoint = 20;

qreal points(int twips) { return twips / TwipsPerPoint; }

// A section word when the section has it, else the document's word, else the default.
int sectionValue(const QByteArray &section, const char *sectionWord, const QByteArray &document,
                 const char *documentWord, int absent)
{
    return model::wordValue(section, sectionWord, model::wordValue(document, documentWord, absent));
}

PageSetup::Start startOf(const QByteArray &words)
{
    PageSetup::Start start = PageSetup::Start::NewPage;
    const std::pair<const char *, PageSetup::Start> kinds[] = {
        {"sbknone", PageSetup::Start::SamePage}, {"sbkcol", PageSetup::Start::SamePage},
        {"sbkpage", PageSetup::Start::NewPage},  {"sbkodd", PageSetup::Start::OddPage},
        {"sbkeven", PageSetup::Start::EvenPage}};
    for (const auto &[word, kind] : kinds)
        if (model::wordValue(words, word, 0) == 1)
            start = kind;
    return start;
}

PageSetup setupOf(const QByteArray &document, const QByteArray &section)
{
    PageSetup setup;
    qreal width = points(sectionValue(section, "pgwsxn", document, "paperw", 12240));
    qreal height = points(sectionValue(section, "pghsxn", document, "paperh", 15840));
    const bool landscape = model::wordValue(section, "lndscpsxn", model::wordValue(document, "landscape", 0)) == 1;
    if (landscape != (width > height))
        std::swap(width, height);
    setup.paper = QSizeF(qMax<qreal>(width, 72), qMax<qreal>(height, 72));
    const qreal gutter = points(sectionValue(section, "guttersxn", document, "gutter", 0));
    setup.margins = QMarginsF(points(sectionValue(section, "marglsxn", document, "margl", 1800)) + gutter,
                              points(sectionValue(section, "margtsxn", document, "margt", 1440)),
                              points(sectionValue(section, "margrsxn", document, "margr", 1800)),
                              points(sectionValue(section, "margbsxn", document, "margb", 1440)));
    // Margins that leave no room for text are the file's mistake: keep an inch of text.
    const qreal across = setup.paper.width() - setup.margins.left() - setup.margins.right();
    const qreal down = setup.paper.height() - setup.margins.top() - setup.margins.bottom();
    if (across < 72 || down < 72 || setup.margins.left() < 0 || setup.margins.right() < 0)
        setup.margins = QMarginsF(36, 36, 36, 36);
    setup.headerTop = points(model::wordValue(section, "headery", 720));
    setup.footerBottom = points(model::wordValue(section, "footery", 720));
    setup.titlePage = model::wordValue(section, "titlepg", model::wordValue(document, "titlepg", 0)) == 1;
    setup.facingPages = model::wordValue(document, "facingp", 0) == 1;
    setup.start = startOf(section);
    if (model::wordValue(section, "pgnrestart", 0) == 1 || model::wordValue(section, "pgnstarts", 0) > 0)
        setup.firstPageNumber = qMax(1, model::wordValue(section, "pgnstarts", 1));
    return setup;
}

} // namespace

QPageLayout PageSetup::pageLayout() const
{
    const QSizeF portrait = landscape() ? paper.transposed() : paper;
    const QPageSize size(portrait, QPageSize::Point, QString(), QPageSize::FuzzyOrientationMatch);
    return QPageLayout(size, landscape() ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Point);
}

bool hasPageSetup(const QTextDocument &document)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts)
        return false;
    for (const char *word : {"paperw", "paperh", "margl", "margr", "margt", "margb", "landscape"})
        if (model::wordValue(parts->documentWords, word, -1) != -1)
            return true;
    for (const model::Section &section : parts->sections)
        for (const char *word : {"pgwsxn", "pghsxn", "lndscpsxn", "marglsxn", "margrsxn", "margtsxn", "margbsxn"})
            if (model::wordValue(section.words, word, -1) != -1)
                return true;
    return false;
}

bool hasOwnPages(const QTextDocument &document)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts)
        return false;
    const bool headers = std::any_of(parts->sections.begin(), parts->sections.end(),
                                     [](const model::Section &section) { return !section.headers.empty(); });
    const bool notes = std::any_of(parts->notes.begin(), parts->notes.end(),
                                   [](const model::Note &note) { return note.kind != model::Note::Kind::Comment; });
    return hasPageSetup(document) || headers || notes || parts->sections.size() > 1;
}

std::vector<PageSetup> sectionPageSetups(const QTextDocument &document)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    const QByteArray documentWords = parts ? parts->documentWords : QByteArray();
    std::vector<PageSetup> setups;
    if (parts)
        for (const model::Section &section : parts->sections)
            setups.push_back(setupOf(documentWords, section.words));
    if (setups.empty())
        setups.push_back(setupOf(documentWords, QByteArray()));
    return setups;
}

std::vector<PageSetup> onPaper(std::vector<PageSetup> setups, const QPageLayout &paper)
{
    if (setups.empty())
        return setups;
    const QSizeF picked = paper.pageSize().size(QPageSize::Point);
    const QSizeF portrait = picked.width() > picked.height() ? picked.transposed() : picked;
    const bool firstLandscape = setups.front().landscape();
    const bool pickedLandscape = paper.orientation() == QPageLayout::Landscape;
    const auto portraitOf = [](const PageSetup &setup) { return setup.landscape() ? setup.paper.transposed() : setup.paper; };
    const QSizeF first = portraitOf(setups.front());
    // Where the person left the document's paper, each section keeps its own; else all take the picked one.
    const bool kept = qAbs(first.width() - portrait.width()) < 2 && qAbs(first.height() - portrait.height()) < 2;
    for (PageSetup &setup : setups) {
        const QSizeF base = kept ? portraitOf(setup) : portrait;
        const bool landscape = setup.landscape() == firstLandscape ? pickedLandscape : !pickedLandscape;
        setup.paper = landscape ? base.transposed() : base;
    }
    return setups;
}
