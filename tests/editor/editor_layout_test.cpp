#include "layout/editor_layout.h"
#include "layout/flow_layout.h"
#include "editor/rich_text_box.h"
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QCoreApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Paragraphs of every kind a paragraph-alone layout must place as Qt's full pass does.
void fill(QTextDocument &doc, bool withTable)
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
    if (withTable) {
        c.insertTable(2, 2);
        c.insertText("in a cell");
        c.movePosition(QTextCursor::End);
    }
    paragraph(words.repeated(2), [](QTextBlockFormat &) {});
    paragraph(words, [](QTextBlockFormat &) {});
}

// Two copies of one document: one laid out by the editor's layout, one by Qt's own. With a
// table it is Qt's layout doing paragraphs alone; without, the flow layout.
struct Pair : ::testing::Test
{
    QTextDocument quick, reference;

    virtual bool withTable() const { return true; }
    void SetUp() override
    {
        for (QTextDocument *doc : {&quick, &reference}) {
            fill(*doc, withTable());
            doc->setTextWidth(420);
        }
        useEditorLayout(quick);
        ASSERT_EQ(laysOutAsOneFlow(quick), !withTable());
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

// Without tables or lists the flow layout places everything itself.
struct FlowPair : Pair
{
    bool withTable() const override { return false; }

    // Qt's answers for points all over the document, above, beside and below the text too.
    void expectSameHits()
    {
        const QSizeF size = reference.documentLayout()->documentSize();
        for (qreal y = -5; y < size.height() + 10; y += 3.5)
            for (qreal x : {-3.0, 2.0, 37.0, 150.5, 300.0, 419.0, 500.0}) {
                for (Qt::HitTestAccuracy accuracy : {Qt::FuzzyHit, Qt::ExactHit})
                    ASSERT_EQ(quick.documentLayout()->hitTest({x, y}, accuracy),
                              reference.documentLayout()->hitTest({x, y}, accuracy))
                        << "at " << x << "," << y << " accuracy " << accuracy;
            }
    }
};

TEST_F(FlowPair, EveryEditLaysOutAsQtWould)
{
    const std::vector<std::function<void(QTextCursor &)>> edits = {
        [](QTextCursor &c) { c.setPosition(startOf(*c.document(), 0) + 6); c.insertText("x"); },
        [](QTextCursor &c) { c.setPosition(startOf(*c.document(), 2) + 3); c.insertText(QStringLiteral("wrap me ").repeated(9)); },
        [](QTextCursor &c) { c.setPosition(startOf(*c.document(), 3) + 10); c.insertBlock(); },
        [](QTextCursor &c) { c.setPosition(startOf(*c.document(), 6)); c.deletePreviousChar(); },
        [](QTextCursor &c) {
            c.setPosition(startOf(*c.document(), 1) + 4);
            c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor, 2);
            QTextCharFormat large;
            large.setFontPointSize(36);
            c.mergeCharFormat(large);
        },
        [](QTextCursor &c) {
            c.setPosition(startOf(*c.document(), 8));
            QTextBlockFormat spaced;
            spaced.setBottomMargin(25);
            spaced.setTopMargin(7);
            c.mergeBlockFormat(spaced);
        },
        [](QTextCursor &c) { c.setPosition(startOf(*c.document(), 9) + 2); c.insertText(QString(90, 'W')); },
        [](QTextCursor &c) { // three paragraphs and more at once, as a paste does
            c.setPosition(startOf(*c.document(), 4) + 5);
            c.insertText(QStringLiteral("one\ntwo\nthree and a longer line that has to wrap somewhere near here"));
        },
        [](QTextCursor &c) { // a selection over several paragraphs taken away
            c.setPosition(startOf(*c.document(), 2) + 8);
            c.setPosition(startOf(*c.document(), 5) + 3, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        },
        [](QTextCursor &c) { // a right-to-left paragraph with its indents, as a file gives it
            c.setPosition(startOf(*c.document(), 7));
            QTextBlockFormat rtl;
            rtl.setLayoutDirection(Qt::RightToLeft);
            rtl.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
            rtl.setRightMargin(30);
            rtl.setLeftMargin(12);
            rtl.setTextIndent(20);
            c.mergeBlockFormat(rtl);
            c.insertText(QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u05E2\u05D5\u05DC\u05DD, abc ").repeated(6));
        },
        [](QTextCursor &c) { // aligned at its start, the right
            c.setPosition(startOf(*c.document(), 7));
            QTextBlockFormat start;
            start.setAlignment(Qt::AlignLeft);
            c.mergeBlockFormat(start);
        },
        [](QTextCursor &c) { c.movePosition(QTextCursor::End); c.insertText(" the end"); c.insertBlock(); },
    };
    for (std::size_t i = 0; i < edits.size(); ++i) {
        SCOPED_TRACE(i);
        edit(edits[i]);
        expectSameLayout();
    }
    expectSameHits();
    for (QTextDocument *doc : {&quick, &reference})
        doc->setTextWidth(250);
    layOutFully();
    expectSameLayout();
    expectSameHits();
}

TEST_F(FlowPair, DrawsWhatQtsLayoutDraws)
{
    auto render = [](QTextDocument &doc) {
        QImage image(440, 700, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, 60, 440, 600);
        painter.translate(0, -60);
        QTextCursor selected(&doc);
        selected.setPosition(startOf(doc, 1) + 10);
        selected.setPosition(startOf(doc, 3) + 4, QTextCursor::KeepAnchor);
        QTextCharFormat highlight;
        highlight.setBackground(Qt::darkBlue);
        highlight.setForeground(Qt::white);
        context.selections.append({selected, highlight});
        context.cursorPosition = startOf(doc, 4) + 2;
        doc.documentLayout()->draw(&painter, context);
        return image;
    };
    const QImage ours = render(quick), qts = render(reference);
    int differing = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            differing += ours.pixel(x, y) != qts.pixel(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_NE(ours.pixel(200, 40), QColor(Qt::white).rgb()) << "nothing was drawn where the selection is";
}

// A long document is laid out a slice at a time; asking where a late paragraph is answers from
// guesses above it; once all is laid out, the result is Qt's.
TEST(FlowLayout, LaysOutALongDocumentInSlicesWithTheSameResult)
{
    QTextDocument quick;
    const QString text = QStringLiteral("Line of text that is long enough to wrap once or twice at this width. ").repeated(3);
    QTextCursor c(&quick);
    for (int i = 0; i < 12000; ++i) {
        c.insertText(text.left(20 + i % 180));
        c.insertBlock();
    }
    quick.setTextWidth(300);
    useEditorLayout(quick);
    auto *flow = quick.documentLayout();
    EXPECT_FALSE(quick.lastBlock().layout()->lineCount()) << "the whole document was laid out at once";
    EXPECT_GT(flow->blockBoundingRect(quick.findBlockByNumber(11000)).top(), 0);
    c.setPosition(quick.findBlockByNumber(10).position());
    c.insertText("typed while the rest waits ");
    EXPECT_FALSE(quick.lastBlock().layout()->lineCount()) << "the paragraphs between were laid out";
    static_cast<FlowLayout *>(flow)->layOutAll();
    ASSERT_TRUE(static_cast<FlowLayout *>(flow)->finished());
    c.setPosition(quick.findBlockByNumber(20).position());
    c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.mergeCharFormat(bold);
    EXPECT_FALSE(static_cast<FlowLayout *>(flow)->finished()) << "formatting most of it was laid out at once";
    flow->blockBoundingRect(quick.findBlockByNumber(11000));
    static_cast<FlowLayout *>(flow)->layOutAll();
    const QRectF late = flow->blockBoundingRect(quick.findBlockByNumber(11000));
    const QRectF last = flow->blockBoundingRect(quick.lastBlock());
    // Qt's layout of the same text, laid out from scratch.
    std::unique_ptr<QTextDocument> fresh(quick.clone());
    fresh->setTextWidth(300);
    QAbstractTextDocumentLayout *qt = fresh->documentLayout();
    qt->documentSize();
    EXPECT_EQ(late, qt->blockBoundingRect(fresh->findBlockByNumber(11000)));
    EXPECT_EQ(last, qt->blockBoundingRect(fresh->lastBlock()));
    EXPECT_EQ(flow->documentSize(), qt->documentSize());
}

// A table or a list coming into a document of one flow hands it back to Qt's layout.
TEST(FlowLayout, HandsADocumentThatGetsATableToQtsLayout)
{
    QTextDocument doc;
    doc.setPlainText("first\nsecond");
    doc.setTextWidth(300);
    useEditorLayout(doc);
    ASSERT_TRUE(laysOutAsOneFlow(doc));
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    c.insertTable(2, 2);
    QCoreApplication::processEvents();
    EXPECT_FALSE(laysOutAsOneFlow(doc));
    EXPECT_GE(paragraphOnlyPasses(doc), 0);
    EXPECT_GT(doc.documentLayout()->documentSize().height(), 40);
}

// The editor's own documents are one flow; an opened file with a table is not, and keys typed
// into it take the paragraph-alone way.
TEST(EditorLayout, TheEditorLaysOutItsDocumentsWithTheEditorsLayout)
{
    RichTextBox box;
    box.resize(500, 300);
    box.show();
    box.SetText("Several words\nin two paragraphs");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document()));
    QTest::keyClicks(box.viewport(), "abc");
    EXPECT_EQ(box.document()->firstBlock().text(), "abcSeveral words");
    QTemporaryDir folder;
    auto open = [&](const QByteArray &rtf) {
        const QString path = folder.filePath(QString::number(qHash(rtf)) + ".rtf");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(rtf);
        file.close();
        box.LoadFile(path);
    };
    open("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 First paragraph here\\par Second\\par}");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document()));
    open("{\\rtf1\\ansi One\\par Two\\par\\trowd\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row After\\par}");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document())) << "a table of rows the flow lays out in chunks";
    // Merged cells and tables in cells are chunked too.
    open("{\\rtf1\\ansi One\\par\\trowd\\clmgf\\cellx2000\\clmrg\\cellx4000\\intbl a\\cell\\cell\\row After\\par}");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document()));
    open("{\\rtf1\\ansi One\\par Two\\par\\trowd\\clvmgf\\cellx2000\\cellx4000\\intbl a\\cell b\\cell\\row"
         "\\trowd\\clvmrg\\cellx2000\\cellx4000\\intbl\\cell c\\cell\\row After\\par}");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document()));
    open("{\\rtf1\\ansi One\\par Two\\par\\trowd\\cellx4000\\intbl outer\\par"
         "\\itap2\\trowd\\cellx2000\\intbl\\itap2 inner\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}"
         "\\cell\\row After\\par}");
    EXPECT_TRUE(laysOutAsOneFlow(*box.document()));
    // Columns as wide as their text depend on every row: such a table is left to Qt's layout.
    open("{\\rtf1\\ansi One\\par Two\\par\\trowd\\intbl a\\cell\\row After\\par}");
    EXPECT_FALSE(laysOutAsOneFlow(*box.document()));
    box.SetSelStart(1);
    const int before = paragraphOnlyPasses(*box.document());
    QTest::keyClicks(box.viewport(), "xyz");
    EXPECT_EQ(paragraphOnlyPasses(*box.document()) - before, 3);
}

} // namespace
