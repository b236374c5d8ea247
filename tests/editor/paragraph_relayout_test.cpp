#include "editor/paragraph_relayout.h"
#include "editor/rich_text_box.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Paragraphs of every kind a paragraph-alone layout must place as Qt's full pass does.
void fill(QTextDocument &doc)
{
    doc.addResource(QTextDocument::ImageResource, QUrl("pic"), QImage(40, 30, QImage::Format_RGB32));
    QTextCursor c(&doc);
    auto paragraph = [&](const QString &text, const std::function<void(QTextBlockFormat &)> &shape,
                         qreal points = 10) {
        QTextBlockFormat block;
        shape(block);
        QTextCharFormat chars;
        chars.setFontPointSize(points);
        if (!doc.isEmpty())
            c.insertBlock(block, chars);
        else
            c.setBlockFormat(block);
        c.insertText(text, chars);
    };
    const QString words = QStringLiteral("Seven bright kites drift above the quiet harbour while the tide turns. ");
    paragraph(words.repeated(3), [](QTextBlockFormat &) {});
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setLeftMargin(23.3); f.setRightMargin(11.7); }, 12);
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setTextIndent(-18.5); f.setIndent(2); });
    paragraph(words, [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignHCenter); f.setTopMargin(6.2); }, 14);
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignRight); f.setBottomMargin(9.1); });
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setAlignment(Qt::AlignJustify); });
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); });
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setLineHeight(23, QTextBlockFormat::FixedHeight); });
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setLineHeight(21.5, QTextBlockFormat::MinimumHeight); });
    paragraph(words.repeated(2), [](QTextBlockFormat &f) { f.setLineHeight(4, QTextBlockFormat::LineDistanceHeight); });
    paragraph(QStringLiteral("a\tb\tc\tdecimal 3.25"), [](QTextBlockFormat &f) {
        f.setTabPositions({QTextOption::Tab(80, QTextOption::RightTab), QTextOption::Tab(200, QTextOption::CenterTab)});
    });
    paragraph(QString::fromUtf8("\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d \xd7\xa2\xd7\x95\xd7\x9c\xd7\x9d ").repeated(12),
              [](QTextBlockFormat &f) { f.setTextIndent(30); });
    paragraph(QString(), [](QTextBlockFormat &) {});
    paragraph(words, [](QTextBlockFormat &) {});
    QTextImageFormat image;
    image.setName("pic");
    c.insertImage(image);
    c.insertText(words);
    c.insertTable(2, 2);
    c.insertText("in a cell");
    c.movePosition(QTextCursor::End);
    paragraph(words.repeated(2), [](QTextBlockFormat &) {});
    paragraph(words, [](QTextBlockFormat &) {});
}

// Two copies of one document: one laid out by the paragraph-alone layout, one by Qt's own.
struct Pair : ::testing::Test
{
    QTextDocument quick, reference;

    void SetUp() override
    {
        for (QTextDocument *doc : {&quick, &reference}) {
            fill(*doc);
            doc->setTextWidth(420);
        }
        useParagraphRelayout(quick);
        quick.setTextWidth(420);
        layOutFully();
    }
    void layOutFully()
    {
        quick.documentLayout()->documentSize();
        reference.documentLayout()->documentSize();
    }
    void edit(const std::function<void(QTextCursor &)> &change)
    {
        for (QTextDocument *doc : {&quick, &reference}) {
            QTextCursor c(doc);
            change(c);
        }
        layOutFully();
    }
    // Every paragraph at the same place, broken into the same lines at the same places.
    void expectSameLayout()
    {
        ASSERT_EQ(quick.blockCount(), reference.blockCount());
        for (QTextBlock a = quick.begin(), b = reference.begin(); a.isValid(); a = a.next(), b = b.next()) {
            SCOPED_TRACE(QStringLiteral("paragraph %1").arg(a.blockNumber()).toStdString());
            EXPECT_EQ(quick.documentLayout()->blockBoundingRect(a), reference.documentLayout()->blockBoundingRect(b));
            const QTextLayout *la = a.layout(), *lb = b.layout();
            ASSERT_EQ(la->lineCount(), lb->lineCount());
            for (int i = 0; i < la->lineCount(); ++i) {
                const QTextLine x = la->lineAt(i), y = lb->lineAt(i);
                EXPECT_EQ(x.rect(), y.rect()) << "line " << i;
                EXPECT_EQ(x.textStart(), y.textStart()) << "line " << i;
                for (int at = x.textStart(); at < x.textStart() + x.textLength(); ++at)
                    ASSERT_EQ(x.cursorToX(at), y.cursorToX(at)) << "line " << i << " character " << at;
            }
        }
        EXPECT_EQ(quick.documentLayout()->documentSize(), reference.documentLayout()->documentSize());
    }
};

int startOf(const QTextDocument &doc, int paragraph) { return doc.findBlockByNumber(paragraph).position(); }

TEST_F(Pair, TypingInsideAParagraphLaysOutAsQtWould)
{
    const int paragraphs = quick.blockCount();
    int typed = 0;
    for (int p = 0; p + 1 < paragraphs; ++p) {
        const QTextBlock block = quick.findBlockByNumber(p);
        if (quick.frameAt(block.position()) != quick.rootFrame())
            continue;
        for (int offset : {0, block.length() / 2, block.length() - 1}) {
            edit([&](QTextCursor &c) {
                c.setPosition(startOf(*c.document(), p) + offset);
                c.insertText("x");
            });
            ++typed;
        }
        SCOPED_TRACE(p);
        expectSameLayout();
    }
    // Most single characters leave a paragraph's height alone; those must not have gone to Qt's pass.
    EXPECT_GT(paragraphOnlyPasses(quick), typed / 2);
    EXPECT_EQ(paragraphOnlyPasses(reference), -1);
}

TEST_F(Pair, DeletingAndRestylingInsideAParagraphLaysOutAsQtWould)
{
    const int before = paragraphOnlyPasses(quick);
    edit([](QTextCursor &c) {
        c.setPosition(startOf(*c.document(), 1) + 5);
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 12);
        c.removeSelectedText();
    });
    edit([](QTextCursor &c) {
        c.setPosition(startOf(*c.document(), 2) + 3);
        c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor, 3);
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        c.mergeCharFormat(bold);
    });
    edit([](QTextCursor &c) {
        c.setPosition(startOf(*c.document(), 5) + 1);
        c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor, 2);
        QTextCharFormat italic;
        italic.setFontItalic(true);
        c.mergeCharFormat(italic);
    });
    expectSameLayout();
    EXPECT_GT(paragraphOnlyPasses(quick), before);
}

// Edits that change a paragraph's height, the paragraphs' number or a table must still move
// everything after them.
TEST_F(Pair, EditsThatMoveLaterParagraphsGoToTheFullPass)
{
    const qreal lastTop = quick.documentLayout()->blockBoundingRect(quick.lastBlock()).top();
    edit([](QTextCursor &c) { // a larger word makes its line taller
        c.setPosition(startOf(*c.document(), 0) + 6);
        c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor);
        QTextCharFormat large;
        large.setFontPointSize(40);
        c.mergeCharFormat(large);
    });
    expectSameLayout();
    EXPECT_GT(quick.documentLayout()->blockBoundingRect(quick.lastBlock()).top(), lastTop);
    edit([](QTextCursor &c) { // enough text for another line
        c.setPosition(startOf(*c.document(), 3) + 4);
        c.insertText(QStringLiteral("more words to wrap ").repeated(4));
    });
    edit([](QTextCursor &c) { // a new paragraph
        c.setPosition(startOf(*c.document(), 4) + 10);
        c.insertBlock();
    });
    edit([](QTextCursor &c) { // joining two paragraphs
        c.setPosition(startOf(*c.document(), 7));
        c.deletePreviousChar();
    });
    edit([](QTextCursor &c) { // a paragraph's own spacing
        c.setPosition(startOf(*c.document(), 8));
        QTextBlockFormat spaced;
        spaced.setBottomMargin(30);
        c.mergeBlockFormat(spaced);
    });
    QTextTable *table = nullptr;
    for (QTextFrame *frame : quick.rootFrame()->childFrames())
        table = qobject_cast<QTextTable *>(frame);
    ASSERT_NE(table, nullptr);
    const int cell = table->cellAt(0, 0).firstPosition();
    edit([cell](QTextCursor &c) { // inside a table cell
        c.setPosition(cell);
        c.insertText(QStringLiteral("a longer cell text that wraps ").repeated(3));
    });
    expectSameLayout();
}

TEST_F(Pair, ANarrowerPageLaysOutAgainInFull)
{
    for (QTextDocument *doc : {&quick, &reference})
        doc->setTextWidth(260);
    layOutFully();
    edit([](QTextCursor &c) {
        c.setPosition(startOf(*c.document(), 1) + 3);
        c.insertText("y");
    });
    expectSameLayout();
}

} // namespace

namespace {

// The editor lays out with it from the start and for every document it opens, and keys typed into
// the window take the paragraph-alone way.
TEST(EditorLayout, TypedKeysAreLaidOutParagraphAloneInEveryDocument)
{
    RichTextBox box;
    box.resize(500, 300);
    box.show();
    auto typeAndCount = [&box] {
        const int before = paragraphOnlyPasses(*box.document());
        box.SetSelStart(8);
        QTest::keyClicks(box.viewport(), "abc");
        return paragraphOnlyPasses(*box.document()) - before;
    };
    box.SetText("Several words\nin two paragraphs");
    EXPECT_EQ(typeAndCount(), 3);
    QTemporaryDir folder;
    const QString path = folder.filePath("opened.rtf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 First paragraph here\\par Second\\par}");
    file.close();
    box.LoadFile(path);
    EXPECT_EQ(typeAndCount(), 3);
    EXPECT_EQ(box.document()->findBlockByNumber(0).text(), "First paabcragraph here");
}

} // namespace
