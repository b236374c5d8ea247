// The file commands through the real window. Each scenario runs commands with scripted answers and
// dialogs, then checks the whole state: the editor, Modified, HasFileName, the remembered name, the
// dialogs and boxes shown, the files written and whether the program or the window ended.
#include "tests/document/document_fixture.h"
#include <QAction>
#include <QLabel>
#include <QToolButton>
#include <map>
#include <optional>

namespace {

constexpr int Yes = vb::vbYes, No = vb::vbNo;
enum Outcome { Running, Ended, Closed }; // Closed: the window closed without the program ending

struct StateTable;
using Step = std::function<void(StateTable &)>;

struct Scenario
{
    const char *name;
    std::vector<int> answers; // to the save prompts, in order
    QStringList chosen;       // file dialog answers in the test folder; "" cancels
    std::vector<Step> steps;
    // The state it ends in.
    QString text;
    int modified;
    int hasFileName;
    QString fileName; // in the test folder unless absolute
    QStringList dialogs;
    size_t messages;
    std::map<QString, QString> files; // the folder's files besides an untouched "opened.rtf"
    Outcome outcome = Running;
};

void PrintTo(const Scenario &s, std::ostream *os) { *os << s.name; }

struct StateTable : DocumentFixture, ::testing::WithParamInterface<Scenario>
{
    const QString caption = form.windowTitle();
    const QString label = form.lblFileName->text();
    std::optional<bool> closeAccepted;

    StateTable()
    {
        QDir(dir.path()).mkdir("folder");
        RichTextBox writer;
        writer.SetText("opened text");
        writer.SaveFile(path("opened.rtf"));
    }

    // Every file in the test folder (hidden ones too) with the text it holds.
    std::map<QString, QString> folderFiles() const
    {
        std::map<QString, QString> files;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            files[name] = documentText(path(name));
        return files;
    }

    Outcome outcome() const { return form.ended() ? Ended : closeAccepted.value_or(false) ? Closed : Running; }
};

Step typing(const QString &text) { return [text](StateTable &t) { t.type(text); }; }
Step command(void (*run)(DocumentSession &)) { return [run](StateTable &t) { run(t.session); }; }
Step toolbar(int index) { return [index](StateTable &t) { Toolbar1_ButtonClick(t.session, index); }; }
Step menu(const char *item) { return [item](StateTable &t) { t.form.menuItem(item)->trigger(); }; }
Step button(int index) { return [index](StateTable &t) { t.form.toolbarButton(index)->click(); }; }
Step remembering(const QString &name) { return [name](StateTable &t) { t.FileName = name; }; }
Step writing(const QString &name, const QByteArray &bytes) { return [=](StateTable &t) { t.writeFile(name, bytes); }; }
Step fromDesktop(const QString &name) { return [name](StateTable &t) { OpenFromDesktop(t.session, t.path(name)); }; }
const Step Open = command(Open_Click), Save = command(Save_Click), New = command(New_Click), Exit = command(Exit_Click);
const Step Close = [](StateTable &t) {
    t.form.show();
    t.closeAccepted = t.form.close();
    EXPECT_EQ(t.form.isVisible(), !*t.closeAccepted);
};

// A cancelled file dialog is silent and changes only the remembered name.
Scenario cancelling(const char *name, std::vector<int> answers, Step command, const char *dialog = "save")
{
    return {name, answers, {""}, {typing("text"), remembering("/before.rtf"), command},
            "text", 1, 0, "", {dialog}, answers.size(), {}};
}

const Scenario scenarios[] = {
    {"the window starts unmodified without a name", {}, {}, {}, "", 0, 0, "", {}, 0, {}},
    {"a change sets Modified and nothing else", {}, {}, {remembering("/kept.rtf"), typing("x")},
     "x", 1, 0, "/kept.rtf", {}, 0, {}},
    {"Open of an unmodified document replaces it without asking", {}, {"opened.rtf"}, {Open},
     "opened text", 0, 0, "opened.rtf", {"open"}, 0, {}},
    {"Open after saving first ends with the opened file", {Yes}, {"saved.rtf", "opened.rtf"}, {typing("unsaved"), Open},
     "opened text", 0, 1, "opened.rtf", {"save", "open"}, 1, {{"saved.rtf", "unsaved"}}},
    {"the first Save asks for a name and remembers it", {}, {"doc.rtf"}, {typing("first"), Save},
     "first", 0, 1, "doc.rtf", {"save"}, 0, {{"doc.rtf", "first"}}},
    {"a Save to the known name writes without a dialog", {}, {"doc.rtf"},
     {typing("first"), Save, typing(" second"), Save},
     "first second", 0, 1, "doc.rtf", {"save"}, 0, {{"doc.rtf", "first second"}}},
    {"New after saving first empties the editor and leaves Modified set", {Yes}, {"old.rtf"}, {typing("old text"), New},
     "", 1, 0, "old.rtf", {"save"}, 1, {{"old.rtf", "old text"}}},
    {"Exit after saving first ends the program", {Yes}, {"last.rtf"}, {typing("last words"), Exit},
     "last words", 0, 0, "last.rtf", {"save"}, 1, {{"last.rtf", "last words"}}, Ended},
    {"closing after saving first ends the program", {Yes}, {"last.rtf"}, {typing("last words"), Close},
     "last words", 0, 0, "last.rtf", {"save"}, 1, {{"last.rtf", "last words"}}, Ended},
    {"toolbar New answered Yes saves and keeps the text", {Yes}, {"kept.rtf"}, {typing("kept"), toolbar(1)},
     "kept", 0, 0, "kept.rtf", {"save"}, 1, {{"kept.rtf", "kept"}}},
    {"toolbar Save without a name asks and remembers", {}, {"doc.rtf"}, {typing("text"), toolbar(2)},
     "text", 0, 1, "doc.rtf", {"save"}, 0, {{"doc.rtf", "text"}}},
    {"toolbar Save to the known name leaves Modified as it was", {}, {"doc.rtf"},
     {typing("a"), Save, typing("b"), toolbar(2)},
     "ab", 1, 1, "doc.rtf", {"save"}, 0, {{"doc.rtf", "ab"}}},
    {"Make Copy clears Modified and moves the name to the copy", {}, {"copy.rtf"}, {typing("text"), toolbar(3)},
     "text", 0, 0, "copy.rtf", {"save"}, 0, {{"copy.rtf", "text"}}},

    cancelling("Open answered No then cancelled keeps the document", {No}, Open, "open"),
    cancelling("Open whose save is cancelled never shows the open dialog", {Yes}, Open),
    cancelling("a cancelled Save", {}, Save),
    cancelling("New whose save is cancelled keeps the text", {Yes}, New),
    cancelling("Exit whose save is cancelled keeps running", {Yes}, Exit),
    cancelling("closing whose save is cancelled keeps the window open", {Yes}, Close),
    cancelling("toolbar New whose save is cancelled", {Yes}, toolbar(1)),
    cancelling("a cancelled toolbar Save", {}, toolbar(2)),
    cancelling("a cancelled Make Copy", {}, toolbar(3)),
    {"Open saved first then cancelled keeps the saved document", {Yes}, {"mine.rtf", ""}, {typing("mine"), Open},
     "mine", 0, 1, "", {"save", "open"}, 1, {{"mine.rtf", "mine"}}},

    // After a cancelled dialog the next Save asks for a name.
    {"a Save after a cancelled Open asks for a name", {}, {"a.rtf", "", "b.rtf"},
     {typing("a"), Save, Open, typing("b"), Save},
     "ab", 0, 1, "b.rtf", {"save", "open", "save"}, 0, {{"a.rtf", "a"}, {"b.rtf", "ab"}}},
    {"a toolbar Save after a cancelled Make Copy asks for a name", {}, {"a.rtf", "", "b.rtf"},
     {typing("a"), Save, toolbar(3), typing("b"), toolbar(2)},
     "ab", 0, 1, "b.rtf", {"save", "save", "save"}, 0, {{"a.rtf", "a"}, {"b.rtf", "ab"}}},
    {"a cancelled first Save leaves the next Save asking", {}, {"", "doc.rtf"}, {typing("text"), Save, Save},
     "text", 0, 1, "doc.rtf", {"save", "save"}, 0, {{"doc.rtf", "text"}}},

    // Open and the desktop's open.
    {"Open's offered save always shows the dialog", {Yes}, {"a.rtf", "b.rtf", ""},
     {typing("a"), Save, typing("b"), Open},
     "ab", 0, 1, "", {"save", "save", "open"}, 1, {{"a.rtf", "a"}, {"b.rtf", "ab"}}},
    {"opening does not give the document a name", {}, {"opened.rtf", "chosen.rtf"}, {Open, Save},
     "opened text", 0, 1, "chosen.rtf", {"open", "save"}, 0, {{"chosen.rtf", "opened text"}}},
    {"after the first Save, Saves go to the file opened last", {}, {"a.rtf", "opened.rtf"},
     {typing("a"), Save, Open, typing("!"), Save},
     "opened text!", 0, 1, "opened.rtf", {"save", "open"}, 0, {{"a.rtf", "a"}, {"opened.rtf", "opened text!"}}},
    {"a file that is not RTF opens as plain text", {}, {"notes.txt"}, {writing("notes.txt", "plain\r\ntext"), Open},
     "plain\ntext", 0, 0, "notes.txt", {"open"}, 0, {{"notes.txt", "plain\ntext"}}},
    {"a document handed over by the desktop opens like Open", {}, {}, {typing("typed"), fromDesktop("opened.rtf")},
     "opened text", 0, 0, "opened.rtf", {}, 0, {}},

    // Saving to the remembered name.
    {"after Make Copy every Save goes to the copy", {}, {"a.rtf", "copy.rtf"},
     {typing("a"), Save, toolbar(3), typing("b"), Save, typing("c"), toolbar(2)},
     "abc", 1, 1, "copy.rtf", {"save", "save"}, 0, {{"a.rtf", "a"}, {"copy.rtf", "abc"}}},
    {"Make Copy without a name leaves the next Save asking", {}, {"copy.rtf", "named.rtf"},
     {typing("a"), toolbar(3), Save},
     "a", 0, 1, "named.rtf", {"save", "save"}, 0, {{"copy.rtf", "a"}, {"named.rtf", "a"}}},
    {"a typed name gets no extension", {}, {"no extension"}, {typing("text"), Save},
     "text", 0, 1, "no extension", {"save"}, 0, {{"no extension", "text"}}},
    {"a saved document closes without a question", {}, {"doc.rtf"}, {typing("a"), Save, typing("b"), Save, Close},
     "ab", 0, 1, "doc.rtf", {"save"}, 0, {{"doc.rtf", "ab"}}, Closed},

    // New, Exit, closing and the toolbar.
    {"New on an unmodified document empties it silently and the next New asks", {}, {"opened.rtf"}, {Open, New, New},
     "", 1, 0, "opened.rtf", {"open"}, 1, {}},
    {"New answered No empties without saving", {No}, {}, {typing("text"), New}, "", 1, 0, "", {}, 1, {}},
    {"New keeps the name so the next Save overwrites the last file", {No}, {"doc.rtf"},
     {typing("old"), Save, typing("!"), New, typing("new"), Save},
     "new", 0, 1, "doc.rtf", {"save"}, 1, {{"doc.rtf", "new"}}},
    {"Exit of an unmodified document ends the program", {}, {}, {Exit}, "", 0, 0, "", {}, 0, {}, Ended},
    {"Exit answered No ends without saving", {No}, {}, {typing("text"), Exit}, "text", 1, 0, "", {}, 1, {}, Ended},
    {"Exit whose save fails says why and keeps running", {Yes}, {"missing/doc.rtf"}, {typing("text"), Exit},
     "text", 1, 0, "missing/doc.rtf", {"save"}, 2, {}},
    {"closing answered No closes without saving", {No}, {}, {typing("text"), Close},
     "text", 1, 0, "", {}, 1, {}, Closed},
    {"closing whose save fails keeps the window open", {Yes}, {"folder"}, {typing("text"), Close},
     "text", 1, 0, "folder", {"save"}, 2, {}},
    {"toolbar New answered No empties without saving", {No}, {}, {typing("text"), toolbar(1)}, "", 1, 0, "", {}, 1, {}},
    {"Settings and unknown toolbar buttons do nothing", {}, {},
     {typing("a"), toolbar(0), toolbar(4), toolbar(5), toolbar(-1)},
     "a", 1, 0, "", {}, 0, {}},
    {"menu items and toolbar buttons run their commands", {No, No}, {"menu.rtf", "copy.rtf"},
     {typing("a"), menu("Save"), button(3), button(1), menu("Exit")},
     "", 1, 1, "copy.rtf", {"save", "save"}, 2, {{"menu.rtf", "a"}, {"copy.rtf", "a"}}, Ended},
};

TEST_P(StateTable, EndsInTheStatedState)
{
    const Scenario &s = GetParam();
    for (int answer : s.answers)
        messages.answer(answer);
    for (const QString &name : s.chosen)
        name.isEmpty() ? dialogs.cancel() : dialogs.confirm(path(name));
    for (const Step &step : s.steps)
        step(*this);

    EXPECT_EQ(editor.Text(), s.text);
    EXPECT_EQ(state.Modified, s.modified);
    EXPECT_EQ(state.HasFileName, s.hasFileName);
    EXPECT_EQ(FileName, s.fileName.isEmpty() || s.fileName.startsWith('/') ? s.fileName : path(s.fileName));
    QStringList dialogKinds;
    for (const auto &shown : dialogs.shown) {
        dialogKinds << shown.kind;
        EXPECT_EQ(shown.filters, QStringList{"RichText files (*.rtf)"});
    }
    EXPECT_EQ(dialogKinds, s.dialogs);
    EXPECT_EQ(messages.shown.size(), s.messages);
    EXPECT_EQ(outcome(), s.outcome);
    auto files = s.files;
    files.insert({"opened.rtf", "opened text"});
    EXPECT_EQ(folderFiles(), files);
    EXPECT_EQ(form.windowTitle(), caption) << "the caption never changes";
    EXPECT_EQ(form.lblFileName->text(), label);
}

INSTANTIATE_TEST_SUITE_P(Commands, StateTable, ::testing::ValuesIn(scenarios),
                         [](const auto &info) { return rowName(info.param.name); });

using FileCommands = DocumentFixture;

TEST_F(FileCommands, EachCommandAsksWithItsOwnWords)
{
    const struct
    {
        const char *name;
        std::function<void(DocumentSession &)> command;
        QString prompt, title;
    } rows[] = {
        {"Open", Open_Click, "Would you like to save your work?", "Opening a new document..."},
        {"New", New_Click, "Would your like to save you work?", "Create a new document..."},
        {"Exit", Exit_Click, "Would your like to save you work?", "Alert! Document not saved!"},
        {"close", [](DocumentSession &s) { Form_QueryUnload(s); }, "Would your like to save you work?",
         "Alert! Document not saved!"},
        {"toolbar New", [](DocumentSession &s) { Toolbar1_ButtonClick(s, 1); }, "Save Changes?", "Alert!"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        messages.shown.clear();
        state.Modified = 1;
        messages.answer(vb::vbYes);
        dialogs.cancel();
        row.command(session);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].prompt, row.prompt);
        EXPECT_EQ(messages.shown[0].title, row.title);
        EXPECT_EQ(messages.shown[0].buttons, vb::vbYesNo);
    }
}

TEST_F(FileCommands, OnlyToolbarNewAsksAboutAnUnmodifiedDocument)
{
    Open_Click(session);
    New_Click(session);
    Form_QueryUnload(session);
    EXPECT_TRUE(messages.shown.empty());
    Toolbar1_ButtonClick(session, 1);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].prompt, "Save Changes?");
}

TEST_F(FileCommands, SaveThenOpenKeepsTheFormatting)
{
    type("plain bold");
    select(6, 4);
    editor.SetSelBold(true);
    editor.SetSelColor(0x0000FF);
    const QString file = saveFirstTime("styled.rtf");
    New_Click(session);
    messages.answer(vb::vbNo);
    dialogs.confirm(file);
    Open_Click(session);
    ASSERT_EQ(editor.Text(), "plain bold");
    select(6, 4);
    EXPECT_EQ(editor.SelBold(), true);
    EXPECT_EQ(editor.SelColor(), 0x0000FFu);
    select(0, 5);
    EXPECT_EQ(editor.SelBold(), false);
}

TEST_F(FileCommands, SavingTwiceWritesTheSameFileTwice)
{
    type("text");
    const QString file = saveFirstTime("doc.rtf");
    const QByteArray once = bytesOf(file);
    QFile::remove(file);
    Save_Click(session);
    EXPECT_EQ(bytesOf(file), once);
}

} // namespace
