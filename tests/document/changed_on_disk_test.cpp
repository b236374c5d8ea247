// A save to the remembered name asks before replacing a file someone else changed since this
// run last read or wrote it; otherwise saving is as it was.
#include "tests/document/document_fixture.h"
#include <QFileInfo>

namespace {

constexpr int Yes = vb::vbYes, No = vb::vbNo;

struct ChangedOnDisk;
using Step = std::function<void(ChangedOnDisk &)>;

struct Row
{
    const char *name;
    Step elsewhere; // what happens to the file after the first save
    Step save;
    std::vector<int> answers;
    bool asks;
    QString fileText; // what the file holds afterwards
    int modified;
};

void PrintTo(const Row &row, std::ostream *os) { *os << row.name; }

struct ChangedOnDisk : DocumentFixture, ::testing::WithParamInterface<Row>
{
    QString file;

    void SetUp() override
    {
        type(QStringLiteral("mine"));
        file = saveFirstTime(QStringLiteral("doc.rtf"));
        type(QStringLiteral(" more"));
    }
    void rewriteWith(const QString &text)
    {
        RichTextBox other;
        other.SetText(text);
        other.SaveFile(file);
    }
    // Same bytes, a later time: only the modification time tells.
    void touch()
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QFileInfo(file).lastModified().addSecs(2), QFileDevice::FileModificationTime));
    }
};

void menuSave(ChangedOnDisk &t) { Save_Click(t.session); }
void toolbarSave(ChangedOnDisk &t) { Toolbar1_ButtonClick(t.session, 2); }
void nothing(ChangedOnDisk &) {}

const Row rows[] = {
    {"A file rewritten elsewhere makes Save ask and No keeps it and the document modified",
     [](ChangedOnDisk &t) { t.rewriteWith("theirs, longer"); }, menuSave, {No}, true, "theirs, longer", 1},
    {"Yes replaces the file rewritten elsewhere", [](ChangedOnDisk &t) { t.rewriteWith("theirs, longer"); },
     menuSave, {Yes}, true, "mine more", 0},
    {"A file only touched elsewhere makes Save ask", [](ChangedOnDisk &t) { t.touch(); }, menuSave, {No}, true,
     "mine", 1},
    {"The toolbar's Save asks too", [](ChangedOnDisk &t) { t.rewriteWith("theirs, longer"); }, toolbarSave, {No},
     true, "theirs, longer", 1},
    {"An untouched file is saved without a question", nothing, menuSave, {}, false, "mine more", 0},
    {"A file deleted elsewhere is written again without a question",
     [](ChangedOnDisk &t) { QFile::remove(t.file); }, menuSave, {}, false, "mine more", 0},
    {"After Yes the next Save asks nothing", [](ChangedOnDisk &t) { t.rewriteWith("theirs, longer"); },
     [](ChangedOnDisk &t) {
         Save_Click(t.session);
         t.type(QStringLiteral("!"));
         Save_Click(t.session);
     },
     {Yes}, true, "mine more!", 0},
    {"A file opened and then changed elsewhere makes Save ask",
     [](ChangedOnDisk &t) {
         t.dialogs.confirm(t.file);
         Open_Click(t.session); // Modified: the question before opening is answered No
         t.rewriteWith("theirs, longer");
     },
     menuSave, {No, No}, true, "theirs, longer", 0},
};

TEST_P(ChangedOnDisk, AsksOnlyWhenTheFileChangedAndNoEndsTheSave)
{
    const Row &row = GetParam();
    for (int answer : row.answers)
        messages.answer(answer);
    row.elsewhere(*this);
    const size_t before = messages.shown.size();
    row.save(*this);
    const bool asked = std::any_of(messages.shown.begin() + long(before), messages.shown.end(), [&](const auto &box) {
        return box.prompt == file + " was changed by another program since you opened it. Replace it with this document?" &&
               box.buttons == (vb::vbYesNo | vb::vbDefaultButton2);
    });
    EXPECT_EQ(asked, row.asks);
    EXPECT_EQ(messages.shown.size() - before, row.asks ? 1u : 0u) << "one question at most";
    EXPECT_EQ(documentText(file), row.fileText);
    EXPECT_EQ(state.Modified, row.modified);
    EXPECT_TRUE(dialogs.answers.empty());
}

INSTANTIATE_TEST_SUITE_P(SaveToTheKnownName, ChangedOnDisk, ::testing::ValuesIn(rows),
                         [](const auto &info) { return rowName(info.param.name); });

TEST(TwoWindows, SavingTheSameFileInTurnAsksTheOneThatSavedFirst)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("shared.rtf"));
    ScriptedMessageBox messagesA, messagesB;
    ScriptedFileDialogs dialogsA, dialogsB;
    Form1 a{Form1Seams{&messagesA, &dialogsA}}, b{Form1Seams{&messagesB, &dialogsB}};
    a.RichTextBox1->SetText(QStringLiteral("from A"));
    dialogsA.confirm(file);
    Save_Click(a.session());
    b.RichTextBox1->SetText(QStringLiteral("from window B"));
    dialogsB.confirm(file);
    Save_Click(b.session());
    ASSERT_EQ(DocumentFixture::documentText(file), "from window B");
    a.RichTextBox1->SetText(QStringLiteral("from A again"));
    messagesA.answer(vb::vbNo);
    Save_Click(a.session());
    ASSERT_EQ(messagesA.shown.size(), 1u);
    EXPECT_TRUE(messagesA.shown[0].prompt.startsWith(file + " was changed"));
    EXPECT_EQ(DocumentFixture::documentText(file), "from window B") << "B's text survives";
    EXPECT_EQ(a.state().Modified, 1);
}

} // namespace
