#include "editor/command_failure.h"
#include "editor/document_snapshot.h"
#include "editor/rich_text_box.h"
#include "model/list_labels.h"
#include "rtf/rtf.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <QTextList>
#include <QTextTable>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Editor : ::testing::Test
{
    RichTextBox box;

    void select(int start, int length)
    {
        box.SetSelStart(start);
        box.SetSelLength(length);
    }
};

TEST_F(Editor, SelectionRolesAddressCharactersFromZero)
{
    box.SetText("Hello world");
    select(6, 5);
    EXPECT_EQ(box.SelStart(), 6);
    EXPECT_EQ(box.SelLength(), 5);
    EXPECT_EQ(box.SelText(), "world");
    box.SetSelText("there");
    EXPECT_EQ(box.Text(), "Hello there");
    select(0, 0);
    box.SetSelText(">");
    EXPECT_EQ(box.Text(), ">Hello there");
}

TEST_F(Editor, StylesReadAsNoValueOnAMixedSelection)
{
    box.SetText("plain bold");
    select(6, 4);
    box.SetSelBold(true);
    box.SetSelItalic(true);
    box.SetSelUnderline(true);
    box.SetSelStrikeThru(true);
    box.SetSelFontSize(20);
    box.SetSelColor(0x0000FF);

    EXPECT_EQ(box.SelBold(), true);
    EXPECT_EQ(box.SelItalic(), true);
    EXPECT_EQ(box.SelUnderline(), true);
    EXPECT_EQ(box.SelStrikeThru(), true);
    EXPECT_EQ(box.SelFontSize(), 20.0);
    EXPECT_EQ(box.SelColor(), 0x0000FFu);
    EXPECT_EQ(box.textCursor().charFormat().foreground().color(), QColor(Qt::red)) << "colours are 0x00BBGGRR";

    select(0, 5);
    EXPECT_EQ(box.SelBold(), false);
    EXPECT_EQ(box.SelFontSize(), 9.75) << "unformatted text reads the editor's own font";

    select(3, 5);
    EXPECT_EQ(box.SelBold(), std::nullopt);
    EXPECT_EQ(box.SelItalic(), std::nullopt);
    EXPECT_EQ(box.SelUnderline(), std::nullopt);
    EXPECT_EQ(box.SelStrikeThru(), std::nullopt);
    EXPECT_EQ(box.SelFontSize(), std::nullopt);
    EXPECT_EQ(box.SelColor(), std::nullopt);
}

TEST_F(Editor, TextSizedInPixelsReadsInPoints)
{
    box.setHtml("<span style='font-size:20px'>web</span>");
    box.selectAll();
    EXPECT_EQ(box.SelFontSize(), 15.0);
}

TEST_F(Editor, CaretFormatGovernsTheNextTypedCharacters)
{
    box.SetText("ab");
    select(2, 0);
    box.SetSelBold(true);
    EXPECT_EQ(box.SelBold(), true);
    box.insertPlainText("c");
    select(2, 1);
    EXPECT_EQ(box.SelBold(), true);
    select(0, 2);
    EXPECT_EQ(box.SelBold(), false);
}

TEST_F(Editor, AlignmentCodesAreLeftZeroRightOneCentreTwo)
{
    box.SetText("one\ntwo\nthree");
    select(0, 5); // touches the first two paragraphs
    box.SetSelAlignment(2);
    EXPECT_EQ(box.document()->findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(box.document()->findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(box.SelAlignment(), 2);
    select(0, 10);
    EXPECT_EQ(box.SelAlignment(), std::nullopt);
    box.SetSelAlignment(1);
    EXPECT_EQ(box.SelAlignment(), 1);
    box.SetSelAlignment(0);
    EXPECT_EQ(box.SelAlignment(), 0);
}

TEST_F(Editor, ChangeFiresInsideEveryCallThatChangesTheText)
{
    int changes = 0;
    QObject::connect(&box, &RichTextBox::Change, [&] { ++changes; });
    box.SetText("abc");
    EXPECT_GE(changes, 1);
    changes = 0;
    select(1, 1);
    EXPECT_EQ(changes, 0) << "moving the selection changes nothing";
    box.SetSelText("X");
    EXPECT_GE(changes, 1);

    QTemporaryDir dir;
    const QString path = dir.filePath("doc.rtf");
    box.SaveFile(path);
    changes = 0;
    box.LoadFile(path);
    EXPECT_GE(changes, 1);
    changes = 0;
    box.SetSelText("more");
    EXPECT_GE(changes, 1) << "the loaded document still reports changes";
}

// A long table takes a while to write: the window's events go on meanwhile, and the file is
// the document as it was when the save began.
TEST_F(Editor, SaveFileWritesOffTheWindowsThreadWhatTheDocumentWas)
{
    QTextCursor cursor(box.document());
    QTextTable *table = cursor.insertTable(20000, 2);
    for (int row = 0; row < 20000; row += 997)
        table->cellAt(row, 1).firstCursorPosition().insertText(QStringLiteral("row %1").arg(row));
    const QByteArray direct = rtf::write(*box.document());
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(0);
    QTemporaryDir dir;
    box.SaveFile(dir.filePath("table.rtf"));
    timer.stop();
    QFile saved(dir.filePath("table.rtf"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), direct);
    EXPECT_GT(ticks, 0);
}

TEST_F(Editor, LoadFileReadsAFileThatIsNotRtfAsPlainText)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("notes.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("caf\xc3\xa9\r\nsecond line");
    file.close();
    box.LoadFile(file.fileName());
    EXPECT_EQ(box.Text(), QString::fromUtf8("caf\xc3\xa9\nsecond line"));
    EXPECT_FALSE(box.document()->isUndoAvailable()) << "a load starts a fresh undo history";
}

TEST_F(Editor, AFileThatCannotBeReadFailsAndKeepsTheContent)
{
    box.SetText("keep me");
    QTemporaryDir dir;
    EXPECT_THROW(box.LoadFile(dir.filePath("missing.rtf")), FileError);
    EXPECT_THROW(box.LoadFile(dir.path()), FileError);
    EXPECT_EQ(box.Text(), "keep me");
}

TEST_F(Editor, FindIgnoresCaseSelectsTheMatchAndReportsMinusOne)
{
    box.SetText("abc ABC abc");
    EXPECT_EQ(box.Find("abc", 1), 4);
    EXPECT_EQ(box.SelStart(), 4);
    EXPECT_EQ(box.SelLength(), 3);
    EXPECT_EQ(box.Find("cat", 0), -1);
    EXPECT_EQ(box.Find("abc", 9), -1);
}

TEST_F(Editor, NegativeSizesAreRejected)
{
    EXPECT_THROW(box.SetHeight(-10), CommandFailure);
    EXPECT_THROW(box.SetWidth(-1), CommandFailure);
    EXPECT_NO_THROW(box.SetWidth(1440));
    EXPECT_EQ(box.width(), box.logicalDpiX());
}

TEST_F(Editor, APastedPictureBecomesPartOfTheDocument)
{
    QImage picture(18, 17, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    box.SetText("ab");
    select(1, 0);
    QGuiApplication::clipboard()->setImage(picture);
    box.Paste();
    EXPECT_EQ(box.Text(), QString("a") + QChar::ObjectReplacementCharacter + "b");
    QTextCursor at(box.document());
    at.setPosition(2);
    const QTextImageFormat image = at.charFormat().toImageFormat();
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.width(), 18);
    EXPECT_EQ(image.height(), 17);
    const QImage stored = box.document()->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    EXPECT_EQ(stored, picture);
}

TEST_F(Editor, PastedTextLosesItsNulCharacters)
{
    QGuiApplication::clipboard()->setText(QString("a") + QChar(0) + "b");
    box.Paste();
    EXPECT_EQ(box.Text(), "ab");
}

} // namespace

namespace {

// A file's numbered list is a live list: Enter makes the next item, Backspace at an item's start
// ends it, and the numbers after follow, on screen and in the file written.
TEST_F(Editor, EnterContinuesAFilesListAndBackspaceAtAnItemsStartEndsIt)
{
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0"
                           "{\\leveltext\\'02\\'00.;}}}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
                           "{\\listtext 1.\\tab}\\pard\\ls1\\fi-360\\li720 One\\par{\\listtext 2.\\tab}\\pard\\ls1\\fi-360\\li720 Two\\par}";
    ASSERT_TRUE(rtf::read(rtf, *box.document()));
    EXPECT_EQ(box.Text(), "One\nTwo\n");
    select(3, 0);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, "New");
    const auto labels = [this] {
        QStringList out;
        for (QTextBlock b = box.document()->begin(); b.isValid(); b = b.next())
            out << (b.textList() ? model::listLabelOf(b) : QStringLiteral("-")) + b.text();
        return out.join(u' ');
    };
    EXPECT_EQ(labels(), "1.One 2.New 3.Two -");
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(labels(), "1.One -New 2.Two -");
    const QByteArray written = rtf::write(*box.document());
    EXPECT_TRUE(written.contains("2.\\tab}{\\f0\\fs24 Two}") || written.contains("2.\\tab}{\\f1\\fs24 Two}")) << written.toStdString();
    EXPECT_EQ(written.count("\\pard\\ls1"), 2) << "the paragraph out of the list names none";
}

// Saves and the recovery copy write from a snapshot: its lists, a long one's chunks included,
// come out as the document's own.
TEST_F(Editor, ASnapshotWritesTheListsOfTheDocument)
{
    QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0"
                     "{\\leveltext\\'02\\'00.;}}}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}";
    for (int i = 0; i < 600; ++i)
        rtf += "\\pard\\ls1 Item\\par";
    ASSERT_TRUE(rtf::read(rtf + '}', *box.document()));
    const QByteArray written = writeSnapshot(takeSnapshot(*box.document()));
    EXPECT_EQ(written, rtf::write(*box.document()));
    EXPECT_TRUE(written.contains("600.\\tab}")) << written.right(300).toStdString();
}

} // namespace
