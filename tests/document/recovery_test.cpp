// Crash recovery: the copy follows the document's state, and a dead run's copy is offered at start.
#include "document/recovery.h"
#include "document/recovery_copy.h"
#include "rtf/rtf.h"
#include "tests/document/document_fixture.h"
#include <QAction>
#include <QFile>
#include <QLockFile>
#include <QTextBlock>
#include <QTextTable>
#include <QTextDocument>
#include <functional>
#include <random>

using namespace std::chrono_literals;

namespace {

const QString Prompt = QStringLiteral("Velmo was not closed properly. Recover the unsaved document?");

// "plain " then "bold" in bold, centred, then a picture.
void fillFormatted(QTextDocument &document)
{
    QTextCursor c(&document);
    c.insertText(QStringLiteral("plain "));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("bold"), bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred);
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic")), red);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("pic"));
    c.insertImage(picture);
}

bool boldAt(const QTextDocument &document, int position)
{
    QTextCursor c(const_cast<QTextDocument *>(&document));
    c.setPosition(position + 1);
    return c.charFormat().fontWeight() == QFont::Bold;
}

void expectFormatted(const QTextDocument &document)
{
    EXPECT_EQ(document.toPlainText(), QStringLiteral("plain bold\n") + QChar::ObjectReplacementCharacter);
    EXPECT_FALSE(boldAt(document, 0));
    EXPECT_TRUE(boldAt(document, 6));
    EXPECT_EQ(document.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QTextCursor c(const_cast<QTextDocument *>(&document));
    c.setPosition(document.lastBlock().position() + 1);
    EXPECT_TRUE(c.charFormat().isImageFormat()) << "the picture came back";
}

TEST(RecoveryCopy, KeepsTextFormatsPicturesAndTheRememberedName)
{
    QTextDocument original;
    fillFormatted(original);
    const QByteArray bytes = recoveryBytes(takeSnapshot(original), {QStringLiteral("/docs/letter.rtf"), 1});
    const auto header = readRecoveryHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->fileName, "/docs/letter.rtf");
    EXPECT_EQ(header->hasFileName, 1);
    QTextDocument back;
    ASSERT_TRUE(rtf::read(bytes, back));
    expectFormatted(back);
}

// Both ways of taking a copy, by its pieces and whole (a frame that is not a table).
TEST(RecoveryCopy, KeepsHeadersNotesAndPageSetupAndNothingOfItsOwnHeader)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\paperw12240\\margl1800{\\header \\pard Head}\\pard A"
                           "{\\super\\chftn}{\\footnote \\pard Note.} b\\par}";
    for (bool withFrame : {false, true}) {
        QTextDocument original;
        ASSERT_TRUE(rtf::read(rtf, original));
        if (withFrame)
            QTextCursor(&original).insertFrame(QTextFrameFormat());
        QTextDocument back;
        ASSERT_TRUE(rtf::read(recoveryBytes(takeSnapshot(original), {QStringLiteral("/a.rtf"), 1}), back));
        const QByteArray written = rtf::write(back);
        for (const char *part : {"\\paperw12240\\margl1800", "{\\header \\pard {\\f0\\fs24 Head}}",
                                 "{\\f0\\fs24\\super\\chftn}{\\footnote \\pard {\\f0\\fs24 Note.}}"})
            EXPECT_TRUE(written.contains(part)) << withFrame << " " << part << " in\n" << written.toStdString();
        EXPECT_FALSE(written.contains("velmorecovery"));
    }
}

TEST(RecoveryCopy, KeepsATableWhole)
{
    QTextDocument original;
    QTextCursor c(&original);
    c.insertText(QStringLiteral("before"));
    QTextTable *table = c.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("left"));
    table->cellAt(0, 1).firstCursorPosition().insertText(QStringLiteral("right"));
    QTextDocument back;
    ASSERT_TRUE(rtf::read(recoveryBytes(takeSnapshot(original), {}), back));
    EXPECT_EQ(back.toPlainText().simplified(), original.toPlainText().simplified());
    ASSERT_FALSE(back.rootFrame()->childFrames().isEmpty()) << "the table is still a table";
}

// Each paragraph as its formats and its text in runs of one character format, neighbours joined.
struct StyledBlock
{
    QTextBlockFormat format;
    QTextCharFormat charFormat;
    std::vector<std::pair<QString, QTextCharFormat>> runs;
    bool operator==(const StyledBlock &) const = default;
};

std::vector<StyledBlock> styledBlocks(const QTextDocument &document)
{
    std::vector<StyledBlock> blocks;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        StyledBlock styled{b.blockFormat(), b.charFormat(), {}};
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (!styled.runs.empty() && styled.runs.back().second == f.charFormat())
                styled.runs.back().first += f.text();
            else
                styled.runs.emplace_back(f.text(), f.charFormat());
        }
        blocks.push_back(std::move(styled));
    }
    return blocks;
}

// Random typing, paragraph breaks, deletions, restyling and undo leave the document's text stored
// out of order and its paragraphs' formats scattered; the copy must still be the document.
TEST(RecoveryCopy, KeepsADocumentEditedOutOfOrderExactly)
{
    QTextDocument original;
    std::mt19937 random(15);
    const auto below = [&](int n) { return int(random() % unsigned(std::max(n, 1))); };
    QTextCursor c(&original);
    QTextCharFormat bold, large;
    bold.setFontWeight(QFont::Bold);
    large.setFontPointSize(20);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    for (int step = 0; step < 400; ++step) {
        c.setPosition(below(original.characterCount()));
        switch (below(6)) {
        case 0: c.insertText(QStringLiteral("words %1 ").arg(step), step % 3 ? bold : large); break;
        case 1: c.insertBlock(step % 2 ? right : QTextBlockFormat(), step % 3 ? QTextCharFormat() : bold); break;
        case 2: c.insertText(QString(QChar::LineSeparator) + QStringLiteral("line")); break;
        case 3:
            c.setPosition(std::min(c.position() + below(30), original.characterCount() - 1), QTextCursor::KeepAnchor);
            c.removeSelectedText();
            break;
        case 4:
            c.setPosition(std::min(c.position() + below(40), original.characterCount() - 1), QTextCursor::KeepAnchor);
            c.mergeCharFormat(step % 2 ? large : bold);
            break;
        default: original.undo(); break;
        }
    }
    ASSERT_GT(original.blockCount(), 20);
    const auto copy = rebuild(takeSnapshot(original));
    EXPECT_EQ(copy->toRawText(), original.toRawText());
    EXPECT_TRUE(styledBlocks(*copy) == styledBlocks(original));
}

QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(RTF_FIXTURES "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Tables (merged cells, nested tables, borders, shading, widths) come back as the writer writes
// them, read from the document's pieces rather than by copying the whole document.
TEST(RecoveryCopy, KeepsTheTablesOfRealFilesAsTheyAreWritten)
{
    const char *names[] = {"tables/borders.rtf", "tables/horizontal_merge.rtf", "tables/nested_table.rtf",
                           "tables/no_borders.rtf", "tables/row_borders.rtf", "tables/shading.rtf",
                           "tables/vertical_merge.rtf", "tables/wide_cell_merge.rtf", "tables/widths.rtf",
                           "word_shppict.rtf", "fields.rtf", "hyperlinks.rtf", "spacing_and_tabs.rtf"};
    for (const char *name : names) {
        const QByteArray bytes = fixture(QString::fromLatin1(name));
        ASSERT_FALSE(bytes.isEmpty()) << name;
        QTextDocument original;
        ASSERT_TRUE(rtf::read(bytes, original)) << name;
        const DocumentSnapshot snapshot = takeSnapshot(original);
        EXPECT_FALSE(snapshot.whole) << name << " was copied whole";
        EXPECT_EQ(rtf::write(*rebuild(snapshot)), rtf::write(original)) << name;
    }
}

// Typing, paragraph breaks, alignment and deletions in random cells of a table with merged cells and a
// nested table leave its text stored out of order; the copy must still be the document.
TEST(RecoveryCopy, KeepsATableEditedInRandomCellsExactly)
{
    QTextDocument original;
    QTextCursor c(&original);
    QTextBlockFormat centred, right;
    centred.setAlignment(Qt::AlignHCenter);
    right.setAlignment(Qt::AlignRight);
    c.insertText(QStringLiteral("before"));
    c.setBlockFormat(centred);
    QTextTable *table = c.insertTable(4, 3);
    QTextCursor after(&original);
    after.setPosition(table->lastPosition() + 1);
    after.insertText(QStringLiteral("after"));
    after.setBlockFormat(right);
    table->mergeCells(0, 0, 1, 2);
    table->mergeCells(1, 2, 2, 1);
    QTextTableCellFormat shaded;
    shaded.setBackground(Qt::yellow);
    table->cellAt(3, 1).setFormat(shaded);
    QTextCursor inner = table->cellAt(2, 0).firstCursorPosition();
    inner.insertText(QStringLiteral("outer"));
    inner.insertTable(2, 2)->cellAt(1, 1).firstCursorPosition().insertText(QStringLiteral("inner"));
    std::mt19937 random(12);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int step = 0; step < 200; ++step) {
        const QTextTableCell cell = table->cellAt(int(random() % 4), int(random() % 3));
        QTextCursor at = random() % 2 ? cell.firstCursorPosition() : cell.lastCursorPosition();
        switch (random() % 5) {
        case 0: at.insertText(QStringLiteral("w%1 ").arg(step), step % 2 ? bold : QTextCharFormat()); break;
        case 1: at.insertBlock(); break;
        case 2: at.deletePreviousChar(); break;
        case 3: at.mergeBlockFormat(step % 2 ? right : centred); break;
        default: at.insertText(QStringLiteral("x")); break;
        }
    }
    const DocumentSnapshot snapshot = takeSnapshot(original);
    ASSERT_FALSE(snapshot.whole);
    const auto copy = rebuild(snapshot);
    EXPECT_EQ(copy->toRawText(), original.toRawText());
    EXPECT_EQ(rtf::write(*copy), rtf::write(original));
}

TEST(RecoveryCopy, IsRecognisedOnlyByItsHeader)
{
    EXPECT_FALSE(readRecoveryHeader("{\\rtf1 plain}"));
    EXPECT_FALSE(readRecoveryHeader("garbage"));
    EXPECT_FALSE(readRecoveryHeader("{\\rtf1{\\*\\velmorecovery 7b7d"));
}

// A window keeping recovery copies in a folder of its own; the timer is left to the test.
struct Recovery : DocumentFixture
{
    QTemporaryDir folder;
    RecoverySettings settings{folder.path(), 1h};
    std::unique_ptr<Form1> window = std::make_unique<Form1>(withRecovery());

    Form1Seams withRecovery()
    {
        Form1Seams seams{&messages, &dialogs};
        seams.recovery = &settings;
        return seams;
    }
    DocumentRecovery &recovery() { return *window->recovery(); }
    RichTextBox &editor() { return *window->RichTextBox1; }
    void typeInto(const QString &text)
    {
        editor().moveCursor(QTextCursor::End);
        QTest::keyClicks(&editor(), text);
    }
    void trigger(const char *item) { window->menuItem(QLatin1String(item))->trigger(); }
    bool ownCopyExists()
    {
        recovery().waitForWrites();
        return QFile::exists(recovery().ownCopy());
    }
    // A copy as a run that has since died would have left it: no lock held on it.
    QString leaveCopy(const QString &name, const QByteArray &bytes)
    {
        QFile file(QDir(folder.path()).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    QString leaveFormattedCopy(const QString &name)
    {
        QTextDocument document;
        fillFormatted(document);
        return leaveCopy(name, recoveryBytes(takeSnapshot(document), {QStringLiteral("/docs/letter.rtf"), 1}));
    }
};

TEST_F(Recovery, AChangeIsCopiedAndTheCopyGoesWhenTheChangeIsSaved)
{
    typeInto(QStringLiteral("unsaved"));
    recovery().checkpoint();
    ASSERT_TRUE(ownCopyExists());
    {
        QFile copy(recovery().ownCopy()); // closed before the save: Windows keeps an open file
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        EXPECT_TRUE(readRecoveryHeader(copy.readAll())) << "the copy carries the document's name and state";
    }
    dialogs.confirm(path(QStringLiteral("saved.rtf")));
    trigger("Save");
    EXPECT_EQ(window->state().Modified, 0);
    EXPECT_FALSE(ownCopyExists()) << "saved changes need no copy";
}

struct Discard
{
    const char *name;
    std::function<void(Recovery &)> run;
};

class DiscardedDocument : public Recovery, public ::testing::WithParamInterface<Discard>
{
};

TEST_P(DiscardedDocument, TakesItsCopyAlong)
{
    typeInto(QStringLiteral("unsaved"));
    recovery().checkpoint();
    ASSERT_TRUE(ownCopyExists());
    const QString copy = recovery().ownCopy();
    messages.answer(vb::vbNo);
    GetParam().run(*this);
    if (window)
        recovery().waitForWrites();
    EXPECT_FALSE(QFile::exists(copy));
    EXPECT_EQ(QFile::exists(copy + QStringLiteral(".lock")), window != nullptr) << "the lock lives as long as the run";
}

INSTANTIATE_TEST_SUITE_P(
    ByTheUsersAnswer, DiscardedDocument,
    ::testing::Values(Discard{"NewAnsweredNo", [](Recovery &r) { r.trigger("New"); }},
                      Discard{"ExitAnsweredNoAndTheWindowGoes", [](Recovery &r) { r.trigger("Exit"); r.window.reset(); }},
                      Discard{"ACleanEnd", [](Recovery &r) { r.window.reset(); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Recovery, TheTimerWritesTheCopyWithinTheInterval)
{
    window.reset();
    settings.interval = 20ms;
    window = std::make_unique<Form1>(withRecovery());
    typeInto(QStringLiteral("typed"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ownCopyExists(); }, 5000));
}

TEST_F(Recovery, YesOpensALeftOverCopyAsAnUnsavedDocumentUnderItsRememberedName)
{
    const QString left = leaveFormattedCopy(QStringLiteral("dead.rtf"));
    messages.answer(vb::vbYes);
    EXPECT_TRUE(window->offerRecovery());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, Prompt);
    EXPECT_EQ(messages.shown[0].title, "Velmo");
    EXPECT_EQ(messages.shown[0].buttons, vb::vbYesNo);
    expectFormatted(*editor().document());
    EXPECT_EQ(window->state().Modified, 1);
    EXPECT_EQ(window->state().HasFileName, 1);
    EXPECT_EQ(window->CommonDialog1().FileName, "/docs/letter.rtf");
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(ownCopyExists()) << "the recovered document stays protected";
}

TEST_F(Recovery, NoDeletesTheLeftOverCopy)
{
    const QString left = leaveFormattedCopy(QStringLiteral("dead.rtf"));
    messages.answer(vb::vbNo);
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(editor().Text().isEmpty());
    EXPECT_EQ(window->state().Modified, 0);
}

TEST_F(Recovery, AnUnreadableCopyIsSetAsideWithAMessage)
{
    const QString left = leaveCopy(QStringLiteral("broken.rtf"), QByteArray("\x00\x01 not a copy", 13));
    window->offerRecovery();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].buttons, vb::vbOKOnly);
    EXPECT_TRUE(messages.shown[0].prompt.contains(QStringLiteral("set aside")));
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(QFile::exists(left + QStringLiteral(".unreadable")));
    messages.shown.clear();
    window->offerRecovery();
    EXPECT_TRUE(messages.shown.empty()) << "a copy set aside is not offered again";
}

TEST_F(Recovery, ACopyWhoseInstanceStillRunsIsNotOffered)
{
    const QString left = leaveFormattedCopy(QStringLiteral("alive.rtf"));
    QLockFile alive(left + QStringLiteral(".lock"));
    ASSERT_TRUE(alive.tryLock(0));
    window->offerRecovery();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(QFile::exists(left));
}

TEST_F(Recovery, NothingLeftOverAsksNothing)
{
    window->offerRecovery();
    EXPECT_TRUE(messages.shown.empty());
}

// Copies a run of an earlier version left in its folder, beside the data folder's new one.
struct EarlierFolder : Recovery
{
    QTemporaryDir home;
    QString earlier = home.filePath(QStringLiteral("Velmo For Windows/Velmo/recovery"));

    void SetUp() override
    {
        window.reset();
        settings.folder = home.filePath(QStringLiteral("velmo/recovery"));
        settings.earlierFolders = {earlier};
        window = std::make_unique<Form1>(withRecovery());
    }
    QString leaveEarlierCopy()
    {
        EXPECT_TRUE(QDir().mkpath(earlier));
        QTextDocument document;
        fillFormatted(document);
        QFile file(QDir(earlier).filePath(QStringLiteral("dead.rtf")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(recoveryBytes(takeSnapshot(document), {QStringLiteral("/docs/letter.rtf"), 1}));
        return file.fileName();
    }
    bool earlierFolderGone() const { return !QDir(home.filePath(QStringLiteral("Velmo For Windows"))).exists(); }
};

TEST_F(EarlierFolder, YesRecoversTheCopyIntoTheNewFolderAndItIsNotOfferedAgain)
{
    const QString left = leaveEarlierCopy();
    messages.answer(vb::vbYes);
    EXPECT_TRUE(window->offerRecovery());
    expectFormatted(*editor().document());
    EXPECT_FALSE(QFile::exists(left));
    EXPECT_TRUE(ownCopyExists()) << "the recovered document stays protected";
    EXPECT_TRUE(recovery().ownCopy().startsWith(settings.folder));
    EXPECT_TRUE(earlierFolderGone()) << "the emptied folder does not linger";
    messages.shown.clear();
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_TRUE(messages.shown.empty()) << "offered once";
}

TEST_F(EarlierFolder, NoDeletesTheCopyAndTheEmptiedFolder)
{
    leaveEarlierCopy();
    messages.answer(vb::vbNo);
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(earlierFolderGone());
    EXPECT_TRUE(QDir(settings.folder).exists()) << "the new folder stays";
}

#ifdef Q_OS_LINUX
TEST(RecoverySettings, OnLinuxFollowTheXdgDataHomeAndKeepTheEarlierFolderInView)
{
    QTemporaryDir home;
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    const RecoverySettings settings = RecoverySettings::forThisUser();
    qputenv("XDG_DATA_HOME", before);
    EXPECT_EQ(settings.folder, home.path() + QStringLiteral("/velmo/recovery"));
    EXPECT_EQ(settings.earlierFolders, QStringList{home.path() + QStringLiteral("/Velmo For Windows/Velmo/recovery")});
}
#endif

} // namespace
