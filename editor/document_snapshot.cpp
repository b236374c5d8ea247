#include "editor/document_snapshot.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include "rtf/rtf.h"
#include <QHash>
#include <QSet>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <private/qtextdocument_p.h>

namespace {

void keepPictures(const QTextDocument &document, DocumentSnapshot &snapshot)
{
    for (const QTextFormat &format : snapshot.formats) {
        if (!format.isImageFormat())
            continue;
        const QString name = format.toImageFormat().name();
        for (const QUrl &url : {QUrl(name), rtf::originalPictureUrl(name)}) {
            const QVariant resource = document.resource(QTextDocument::ImageResource, url);
            if (resource.isValid())
                snapshot.resources.emplace_back(url, resource);
        }
    }
}

using Ends = DocumentSnapshot::Ends;

// Tables met so far, by the document's object index, with the grid their cells fill in order.
class TableShapes
{
public:
    TableShapes(const QTextDocument &document, DocumentSnapshot &snapshot) : document_(document), snapshot_(snapshot) {}

    // The table a cell's start belongs to, its cell noted; -1 for a frame that is not a table.
    int cellStart(const QTextCharFormat &marker)
    {
        const int index = tableOf(marker);
        if (index >= 0)
            place(index, marker);
        return index;
    }
    int tableEnd(const QTextCharFormat &marker) { return known_.value(marker.objectIndex(), -1); }

private:
    int tableOf(const QTextCharFormat &marker)
    {
        const auto found = known_.constFind(marker.objectIndex());
        if (found != known_.cend())
            return *found;
        const auto *table = qobject_cast<const QTextTable *>(document_.object(marker.objectIndex()));
        if (!table)
            return -1;
        snapshot_.tables.push_back({table->format(), table->rows(), {}});
        taken_.emplace_back(std::size_t(table->rows()) * std::size_t(table->columns()), false);
        next_.push_back(0);
        return known_[marker.objectIndex()] = int(snapshot_.tables.size() - 1);
    }

    // Cells take the next free place of the grid, row by row, as the table itself counts them.
    void place(int index, const QTextCharFormat &marker)
    {
        DocumentSnapshot::Table &table = snapshot_.tables[std::size_t(index)];
        std::vector<bool> &taken = taken_[std::size_t(index)];
        std::size_t &at = next_[std::size_t(index)];
        const int columns = table.format.columns();
        while (at < taken.size() && taken[at])
            ++at;
        const DocumentSnapshot::Cell cell{int(at) / columns, int(at) % columns, std::max(1, marker.tableCellRowSpan()),
                                          std::max(1, marker.tableCellColumnSpan())};
        for (int r = cell.row; r < std::min(table.rows, cell.row + cell.rowSpan); ++r)
            for (int c = cell.column; c < std::min(columns, cell.column + cell.columnSpan); ++c)
                taken[std::size_t(r * columns + c)] = true;
        table.cells.push_back(cell);
    }

    const QTextDocument &document_;
    DocumentSnapshot &snapshot_;
    QHash<int, int> known_;
    std::vector<std::vector<bool>> taken_;
    std::vector<std::size_t> next_;
};

// The document's own pieces, read in order from its fragment and block trees: the public API
// finds each paragraph's format and position by a search from the root, which was most of the
// time the UI thread spent here. Runs index the document's text buffer, copied whole. False for a
// frame that is not a table.
bool copyPieces(const QTextDocument &document, DocumentSnapshot &snapshot)
{
    const QTextDocumentPrivate &pieces = *QTextDocumentPrivate::get(&document);
    const QString buffer = pieces.buffer();
    snapshot.text = QString(buffer.constData(), buffer.size());
    const int blocks = pieces.blockMap().numNodes();
    snapshot.blocks.reserve(std::size_t(blocks));
    snapshot.runs.reserve(std::size_t(blocks));
    TableShapes tables(document, snapshot);
    auto block = pieces.blockMap().begin();
    int blockCharFormat = document.begin().charFormatIndex();
    std::size_t runsBefore = 0;
    for (auto it = pieces.begin(); !it.atEnd(); ++it) {
        const QTextFragmentData *fragment = it.value();
        const QChar first = snapshot.text.at(fragment->stringPosition);
        if (first != QChar::ParagraphSeparator && first != QTextBeginningOfFrame && first != QTextEndOfFrame) {
            snapshot.runs.push_back({fragment->stringPosition, int(it.size()), fragment->format});
            continue;
        }
        // A separator ends a paragraph and carries the next paragraph's character format.
        DocumentSnapshot::Block ended{block.value()->format, blockCharFormat, int(snapshot.runs.size() - runsBefore)};
        if (first != QChar::ParagraphSeparator) {
            const QTextCharFormat marker = snapshot.formats.value(fragment->format).toCharFormat();
            ended.ends = first == QTextBeginningOfFrame ? Ends::CellStart : Ends::TableEnd;
            ended.table = ended.ends == Ends::CellStart ? tables.cellStart(marker) : tables.tableEnd(marker);
            if (ended.table < 0)
                return false;
        }
        snapshot.blocks.push_back(ended);
        runsBefore = snapshot.runs.size();
        blockCharFormat = fragment->format;
        ++block;
    }
    return true;
}

// Puts the snapshot's tables back as its paragraphs' separators open and close them.
class TableBuilder
{
public:
    explicit TableBuilder(const DocumentSnapshot &snapshot) : snapshot_(snapshot), built_(snapshot.tables.size()) {}

    // Opens the cell that `marker` starts, making its table at the first one, and leaves the
    // cursor in the cell.
    void openCell(QTextCursor &cursor, int index, const QTextCharFormat &marker)
    {
        Built &built = built_[std::size_t(index)];
        const DocumentSnapshot::Table &shape = snapshot_.tables[std::size_t(index)];
        if (!built.table) {
            built.table = cursor.insertTable(shape.rows, shape.format.columns(), shape.format);
            for (const DocumentSnapshot::Cell &cell : shape.cells)
                if (cell.rowSpan > 1 || cell.columnSpan > 1)
                    built.table->mergeCells(cell.row, cell.column, cell.rowSpan, cell.columnSpan);
        }
        if (!built.table || built.cells >= shape.cells.size())
            return; // never from one walk of one document; a copy with a cell too few beats none
        const DocumentSnapshot::Cell &place = shape.cells[built.cells++];
        QTextTableCell cell = built.table->cellAt(place.row, place.column);
        cell.setFormat(marker);
        cursor = cell.firstCursorPosition();
    }

    void closeTable(QTextCursor &cursor, int index)
    {
        if (const QTextTable *table = built_[std::size_t(index)].table)
            cursor.setPosition(table->lastPosition() + 1);
    }

private:
    struct Built
    {
        QTextTable *table = nullptr;
        std::size_t cells = 0;
    };
    const DocumentSnapshot &snapshot_;
    std::vector<Built> built_;
};

// The lists paragraphs are in, looked up once per paragraph format.
void keepLists(const QTextDocument &document, DocumentSnapshot &snapshot)
{
    QSet<int> seen;
    for (const DocumentSnapshot::Block &block : snapshot.blocks) {
        if (seen.contains(block.blockFormat))
            continue;
        seen.insert(block.blockFormat);
        const int object = snapshot.formats.value(block.blockFormat).objectIndex();
        if (const auto *list = qobject_cast<const QTextList *>(document.object(object)))
            snapshot.lists.emplace(object, list->format());
    }
}

// Puts a rebuilt paragraph in the list it was in; a long list's chunks name the chunk before them
// by its new object index.
class ListBuilder
{
public:
    explicit ListBuilder(const DocumentSnapshot &snapshot) : snapshot_(snapshot) {}

    void join(QTextCursor &cursor, int object)
    {
        const auto format = snapshot_.lists.find(object);
        if (format == snapshot_.lists.end())
            return;
        if (QTextList *list = built_[object]) {
            list->add(cursor.block());
            return;
        }
        QTextListFormat listFormat = format->second;
        if (listFormat.hasProperty(model::ListChunkBeforeProperty)) {
            const QTextList *before = built_[listFormat.intProperty(model::ListChunkBeforeProperty)];
            if (before)
                listFormat.setProperty(model::ListChunkBeforeProperty, before->objectIndex());
            else
                listFormat.clearProperty(model::ListChunkBeforeProperty);
        }
        built_[object] = cursor.createList(listFormat);
    }

private:
    const DocumentSnapshot &snapshot_;
    std::map<int, QTextList *> built_;
};

} // namespace

DocumentSnapshot takeSnapshot(const QTextDocument &document)
{
    DocumentSnapshot snapshot;
    snapshot.defaultFont = document.defaultFont();
    snapshot.formats = document.allFormats();
    if (!copyPieces(document, snapshot)) {
        const QFont font = snapshot.defaultFont;
        snapshot = DocumentSnapshot{};
        snapshot.defaultFont = font;
        snapshot.whole.reset(document.clone());
        model::DocumentParts::copy(document, *snapshot.whole);
        return snapshot;
    }
    keepPictures(document, snapshot);
    keepLists(document, snapshot);
    if (model::DocumentParts::find(document)) {
        snapshot.parts = std::make_shared<QTextDocument>();
        model::DocumentParts::copy(document, *snapshot.parts);
    }
    return snapshot;
}

std::unique_ptr<QTextDocument> rebuild(const DocumentSnapshot &snapshot)
{
    if (snapshot.whole) {
        std::unique_ptr<QTextDocument> copy(snapshot.whole->clone());
        model::DocumentParts::copy(*snapshot.whole, *copy);
        return copy;
    }
    auto document = std::make_unique<QTextDocument>();
    if (snapshot.parts)
        model::DocumentParts::copy(*snapshot.parts, *document);
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(snapshot.defaultFont);
    for (const auto &[url, resource] : snapshot.resources)
        document->addResource(QTextDocument::ImageResource, url, resource);
    const auto format = [&](int index) { return snapshot.formats.value(index); };
    QTextCursor cursor(document.get());
    cursor.beginEditBlock();
    TableBuilder tables(snapshot);
    auto run = snapshot.runs.begin();
    const DocumentSnapshot::Block *previous = nullptr;
    ListBuilder lists(snapshot);
    for (const DocumentSnapshot::Block &block : snapshot.blocks) {
        QTextBlockFormat blockFormat = format(block.blockFormat).toBlockFormat();
        const int list = blockFormat.objectIndex();
        blockFormat.setObjectIndex(-1); // this document's objects are other ones
        const QTextCharFormat charFormat = format(block.charFormat).toCharFormat();
        if (!previous) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormat);
        } else if (previous->ends == Ends::Paragraph) {
            cursor.insertBlock(blockFormat, charFormat);
        } else {
            // A table's markers carry the character format of the paragraph after them.
            if (previous->ends == Ends::CellStart)
                tables.openCell(cursor, previous->table, charFormat);
            else
                tables.closeTable(cursor, previous->table);
            cursor.setBlockFormat(blockFormat);
        }
        lists.join(cursor, list);
        previous = &block;
        for (const auto end = run + block.runCount; run != end; ++run) {
            const QTextCharFormat chars = format(run->format).toCharFormat();
            if (chars.isImageFormat())
                cursor.insertImage(chars.toImageFormat());
            else
                cursor.insertText(snapshot.text.mid(run->position, run->length), chars);
        }
    }
    cursor.endEditBlock();
    return document;
}

QByteArray writeSnapshot(const DocumentSnapshot &snapshot)
{
    return snapshot.whole ? rtf::write(*snapshot.whole) : rtf::write(*rebuild(snapshot));
}
