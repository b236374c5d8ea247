// Each fixture holds one part a word processor keeps besides the body text.
// Velmo reads it and writes it again; LibreOffice reads both files, and the
// census of each says whether the part came through. The whole table goes
// through LibreOffice in two calls.
#include "document_census.h"
#include "office_conversion.h"
#include "office_made_documents.h"
#include "rtf/rtf.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <algorithm>
#include <cctype>

using census::Part;

namespace {

struct Expectation {
    Part part;
    bool kept; // false where Velmo's save is known to lose the part
};
// Body text, table cells and pictures are expected kept in every row that
// has them and does not list them.

struct Row {
    const char *sentence; // names the test
    const char *fixture;  // a file in fixtures/parts, or a document LibreOffice wrote
    std::vector<Expectation> parts;
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.fixture; }

const std::vector<Row> &rows()
{
    static const std::vector<Row> table = {
        {"a header is kept", "header", {{Part::Headers, true}}},
        {"a footer is kept", "footer", {{Part::Footers, true}}},
        {"a title page and facing pages keep their own headers and footers", "first_page_and_facing_headers",
         {{Part::Headers, true}, {Part::Footers, true}}},
        {"footnotes are kept", "footnote", {{Part::Footnotes, true}}},
        {"an endnote is kept", "endnote", {{Part::Endnotes, true}}},
        {"a comment is kept", "comment", {{Part::Comments, true}}},
        {"a Letter page keeps its size and margins", "letter_page_margins",
         {{Part::PageSize, true}, {Part::Margins, true}}},
        {"a landscape page stays landscape", "landscape", {{Part::PageSize, true}, {Part::Orientation, true}}},
        {"a landscape section after a portrait one is kept", "two_sections_orientation",
         {{Part::Sections, true}, {Part::Orientation, true}}},
        {"numbered and bulleted lists keep their levels", "numbered_and_bulleted_lists",
         {{Part::Lists, true}, {Part::BodyText, true}}},
        {"old paragraph numbering is kept as a list", "old_pn_numbering",
         {{Part::Lists, true}, {Part::BodyText, true}}},
        {"bookmarks are kept", "bookmark", {{Part::Bookmarks, true}}},
        {"paragraph and character styles keep their names", "paragraph_and_character_styles",
         {{Part::ParagraphStyles, true}, {Part::CharacterStyles, true}}},
        {"the title and author are kept", "document_info", {{Part::Title, true}, {Part::Author, true}}},
        {"hidden text stays hidden", "hidden_text", {{Part::HiddenText, true}}},
        {"page number fields stay fields", "field", {{Part::Fields, true}}},
        {"a picture in a header is kept", "header_picture", {{Part::Headers, true}, {Part::Pictures, true}}},
        {"a table and a picture in the body are kept", "table_and_picture",
         {{Part::TableCells, true}, {Part::Pictures, true}}},
        {"LibreOffice's header, footer, notes, comment, bookmark and title are kept",
         "office_header_footer_notes_and_comment",
         {{Part::Headers, true}, {Part::Footers, true}, {Part::Footnotes, true}, {Part::Endnotes, true},
          {Part::Comments, true}, {Part::Bookmarks, true}, {Part::Title, true}, {Part::Author, true},
          {Part::Fields, true}}},
        {"LibreOffice's lists, styles and hidden text are kept", "office_lists_styles_and_hidden_text",
         {{Part::Lists, true}, {Part::ParagraphStyles, true}, {Part::CharacterStyles, true},
          {Part::HiddenText, true}, {Part::BodyText, true}}},
        {"LibreOffice's landscape page, second page style, table and picture are kept",
         "office_landscape_sections_table_and_picture",
         {{Part::PageSize, true}, {Part::Margins, true}, {Part::Orientation, true}, {Part::Sections, true},
          {Part::TableCells, true}, {Part::Pictures, true}}},
    };
    return table;
}

// What LibreOffice found in a fixture and in Velmo's save of it.
struct Outcome {
    std::optional<census::DocumentCensus> original;
    std::optional<census::DocumentCensus> resaved;
    QString problem;
};

class DocumentParts : public testing::TestWithParam<Row>
{
protected:
    static void SetUpTestSuite()
    {
        s_conversion = new OfficeConversion;
        // VELMO_PARTS_WORK keeps every file of the run for a look at a failing row.
        const QString keep = qEnvironmentVariable("VELMO_PARTS_WORK");
        s_dir = keep.isEmpty() ? new QTemporaryDir : new QTemporaryDir(keep + QStringLiteral("/parts-XXXXXX"));
        s_dir->setAutoRemove(keep.isEmpty());
        s_outcomes = new QHash<QString, Outcome>;
        if (!s_conversion->program().isEmpty())
            measureAll();
    }
    static void TearDownTestSuite()
    {
        delete s_outcomes;
        delete s_dir;
        delete s_conversion;
    }
    void SetUp() override
    {
        if (s_conversion->program().isEmpty())
            GTEST_SKIP() << "soffice is not installed";
    }

    static QString path(const QString &name) { return s_dir->filePath(name); }

    static bool save(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    }

    static QByteArray load(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    // The RTF each row starts from: a fixture file, or LibreOffice's save of a document it was given.
    static QHash<QString, QByteArray> originals()
    {
        QHash<QString, QByteArray> rtf;
        QDir().mkpath(path(QStringLiteral("office")));
        QStringList sources;
        for (const officemade::Document &document : officemade::documents()) {
            sources << path(QStringLiteral("office/%1.fodt").arg(QLatin1StringView(document.name)));
            save(sources.last(), document.fodt);
        }
        const QStringList written = s_conversion->convert(sources, QStringLiteral("rtf:Rich Text Format"),
                                                          QStringLiteral("rtf"), path(QStringLiteral("office")));
        for (const QString &file : written)
            if (!file.isEmpty())
                rtf.insert(QFileInfo(file).completeBaseName(), load(file));
        for (const Row &row : rows()) {
            const QString name = QString::fromLatin1(row.fixture);
            if (!rtf.contains(name))
                rtf.insert(name, load(QStringLiteral(PARTS_FIXTURES "/") + name + QStringLiteral(".rtf")));
        }
        return rtf;
    }

    static void measureAll()
    {
        QStringList files;
        const QHash<QString, QByteArray> rtf = originals();
        for (auto it = rtf.cbegin(); it != rtf.cend(); ++it) {
            Outcome &outcome = (*s_outcomes)[it.key()];
            QTextDocument document;
            if (it.value().isEmpty())
                outcome.problem = QStringLiteral("no original RTF");
            else if (!rtf::read(it.value(), document, &outcome.problem))
                outcome.problem = QStringLiteral("Velmo cannot read it: ") + outcome.problem;
            if (!outcome.problem.isEmpty())
                continue;
            save(path(it.key() + QStringLiteral(".original.rtf")), it.value());
            save(path(it.key() + QStringLiteral(".velmo.rtf")), rtf::write(document));
            files << path(it.key() + QStringLiteral(".original.rtf")) << path(it.key() + QStringLiteral(".velmo.rtf"));
        }
        const QStringList flat = s_conversion->convert(files, QStringLiteral("fodt"), QStringLiteral("fodt"),
                                                       path(QStringLiteral("flat")));
        for (qsizetype i = 0; i < files.size(); ++i) {
            const QString base = QFileInfo(files.at(i)).completeBaseName(); // name.original or name.velmo
            Outcome &outcome = (*s_outcomes)[base.section(u'.', 0, 0)];
            QString problem;
            auto found = census::readCensusFile(flat.at(i), &problem);
            if (!found)
                outcome.problem += QStringLiteral("LibreOffice's reading of %1 failed: %2 ").arg(base, problem);
            (base.endsWith(u".velmo") ? outcome.resaved : outcome.original) = std::move(found);
        }
    }

    static OfficeConversion *s_conversion;
    static QTemporaryDir *s_dir;
    static QHash<QString, Outcome> *s_outcomes;
};

OfficeConversion *DocumentParts::s_conversion = nullptr;
QTemporaryDir *DocumentParts::s_dir = nullptr;
QHash<QString, Outcome> *DocumentParts::s_outcomes = nullptr;

// Parts every save must already keep, whatever else the fixture holds.
bool alwaysKept(Part part) { return part == Part::BodyText || part == Part::TableCells || part == Part::Pictures; }

TEST_P(DocumentParts, VelmosSaveKeepsWhatLibreOfficeFindsInTheOriginal)
{
    const Row &row = GetParam();
    const Outcome outcome = s_outcomes->value(QString::fromLatin1(row.fixture));
    ASSERT_TRUE(outcome.problem.isEmpty()) << outcome.problem.toStdString();
    ASSERT_TRUE(outcome.original && outcome.resaved);
    const QList<census::PartVerdict> verdicts = census::compare(*outcome.original, *outcome.resaved);
    for (const Expectation &expected : row.parts) {
        const census::PartVerdict &verdict = verdicts.at(int(expected.part));
        ASSERT_TRUE(verdict.present) << "the fixture has no " << census::partName(expected.part).toStdString()
                                     << " for LibreOffice: " << verdict.detail.toStdString();
        EXPECT_EQ(verdict.kept, expected.kept)
            << verdict.detail.toStdString()
            << (verdict.kept ? "\nnow kept: set kept to true for this part" : "");
    }
    for (const census::PartVerdict &verdict : verdicts) {
        const bool listed = std::any_of(row.parts.begin(), row.parts.end(),
                                        [&](const Expectation &e) { return e.part == verdict.part; });
        if (alwaysKept(verdict.part) && verdict.present && !listed) {
            EXPECT_TRUE(verdict.kept) << verdict.detail.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DocumentParts, testing::ValuesIn(rows()),
                         [](const testing::TestParamInfo<Row> &info) {
                             std::string name = info.param.sentence;
                             for (char &c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             }
                             return name;
                         });

} // namespace
