// A document of paragraphs and long tables laid out by the editor's flow layout, a chunk of rows
// at a time, against the same document laid out by Qt's own layout: the same paragraphs in the
// same places with the same lines, the same picture, the same answers to where a point falls.
#include "layout/editor_layout.h"
#include "rtf/rtf.h"
#include "tests/editor/long_table.h"
#include "tests/editor/pixel_rows.h"
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int Width = 520;

struct TablePair : ::testing::Test
{
    QTextDocument quick, reference;

    void SetUp() override
    {
        // Spacing around the tables, an empty paragraph before the second one, and one after
        // it, as files from word processors have them; cells merged down across chunk ends, and
        // tables nested in cells.
        const QByteArray before = "\\sa120 Opening paragraph with spacing below it\\par\\pard ";
        const QByteArray between = "\\pard\\sb200 Between the tables\\par\\pard\\par "
                                   "\\trowd\\clbrdrb\\brdrs\\brdrw10\\cellx3000 \\intbl small\\cell\\row \\pard\\par ";
        for (QTextDocument *doc : {&quick, &reference}) {
            ASSERT_TRUE(rtf::read(longtable::rtf(before, 150, between + "Closing paragraph\\par ", true, true), *doc));
            doc->setTextWidth(Width);
        }
        useEditorLayout(quick);
        ASSERT_TRUE(laysOutAsOneFlow(quick)) << "the flow layout takes documents with such tables";
        ASSERT_EQ(reference.rootFrame()->childFrames().size(), 2);
        ASSERT_EQ(reference.rootFrame()->childFrames().first()->childFrames().size(), 8) << "tables in cells";
    }

    static QTextTable *nestedIn(QTextTable &table, int row)
    {
        return qobject_cast<QTextTable *>(table.document()->frameAt(table.cellAt(row, 1).lastPosition() - 30));
    }

    void edit(const std::function<void(QTextCursor &, QTextTable &)> &change)
    {
        for (QTextDocument *doc : {&quick, &reference}) {
            QTextCursor c(doc);
            change(c, *qobject_cast<QTextTable *>(doc->rootFrame()->childFrames().first()));
        }
    }

    void expectSameLayout()
    {
        ASSERT_EQ(quick.blockCount(), reference.blockCount());
        for (QTextBlock a = quick.begin(), b = reference.begin(); a.isValid(); a = a.next(), b = b.next()) {
            SCOPED_TRACE(QStringLiteral("paragraph %1").arg(a.blockNumber()).toStdString());
            ASSERT_EQ(quick.documentLayout()->blockBoundingRect(a), reference.documentLayout()->blockBoundingRect(b));
            const QTextLayout *la = a.layout(), *lb = b.layout();
            ASSERT_EQ(la->lineCount(), lb->lineCount());
            for (int i = 0; i < la->lineCount(); ++i) {
                EXPECT_EQ(la->lineAt(i).rect(), lb->lineAt(i).rect()) << "line " << i;
                EXPECT_EQ(la->lineAt(i).textStart(), lb->lineAt(i).textStart()) << "line " << i;
            }
        }
        EXPECT_EQ(quick.documentLayout()->documentSize(), reference.documentLayout()->documentSize());
    }

    static QImage drawn(QTextDocument &doc, int cursor)
    {
        doc.documentLayout()->blockBoundingRect(doc.lastBlock()); // all laid out, not estimated
        const int height = int(doc.documentLayout()->documentSize().height()) + 1;
        QImage image(Width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setClipRect(image.rect());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = image.rect();
        context.cursorPosition = cursor;
        doc.documentLayout()->draw(&painter, context);
        return image;
    }
};

TEST_F(TablePair, ParagraphsAndCellsLandWhereQtPutsThem)
{
    expectSameLayout();
}

TEST_F(TablePair, TheDocumentLooksAsQtDrawsIt)
{
    const int cursor = quick.findBlockByNumber(40).position() + 2;
    const QImage a = drawn(quick, cursor), b = drawn(reference, cursor);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(visiblyDifferentRows(a, b), 0) << "pixel rows differ";
}

TEST_F(TablePair, PointsFallWhereQtSaysTheyFall)
{
    const qreal height = reference.documentLayout()->documentSize().height();
    for (qreal y = 0.5; y < height; y += 5.5)
        for (qreal x : {20.0, 100.0, 200.0, 300.0})
            EXPECT_EQ(quick.documentLayout()->hitTest(QPointF(x, y), Qt::FuzzyHit),
                      reference.documentLayout()->hitTest(QPointF(x, y), Qt::FuzzyHit))
                << x << "," << y;
}

TEST_F(TablePair, TypingAndNewParagraphsInCellsStayWhereQtPutsThem)
{
    edit([](QTextCursor &c, QTextTable &table) {
        c.setPosition(table.cellAt(70, 0).firstPosition() + 3);
        c.insertText(QStringLiteral("some words typed into a cell, long enough to take another line "));
    });
    expectSameLayout();
    edit([](QTextCursor &c, QTextTable &table) {
        c.setPosition(table.cellAt(64, 1).firstPosition());
        c.insertBlock();
        c.insertText(QStringLiteral("a new paragraph at the top of a chunk"));
    });
    expectSameLayout();
    // In tables nested in cells: the last row of a chunk, and the first cell of the next chunk.
    edit([](QTextCursor &c, QTextTable &table) {
        QTextTable *nested = nestedIn(table, 128);
        ASSERT_TRUE(nested);
        c.setPosition(nested->cellAt(0, 0).firstPosition());
        c.insertText(QStringLiteral("more words at the start of a nested cell, enough for a line "));
        c.setPosition(nested->cellAt(1, 1).lastPosition());
        c.insertBlock();
        c.insertText(QStringLiteral("and a paragraph"));
    });
    expectSameLayout();
    edit([](QTextCursor &c, QTextTable &table) {
        QTextTable *nested = nestedIn(table, 129);
        ASSERT_TRUE(nested);
        c.setPosition(nested->cellAt(0, 0).firstPosition());
        c.setPosition(nested->cellAt(1, 1).lastPosition(), QTextCursor::KeepAnchor);
        c.removeSelectedText();
    });
    expectSameLayout();
    edit([](QTextCursor &c, QTextTable &table) {
        c.setPosition(table.cellAt(10, 0).firstPosition());
        c.setPosition(table.cellAt(10, 0).lastPosition(), QTextCursor::KeepAnchor);
        c.removeSelectedText();
    });
    expectSameLayout();
}

// The same file read twice, one copy with the editor's layout and one with Qt's.
void readPair(const QByteArray &rtf, QTextDocument &quick, QTextDocument &reference)
{
    for (QTextDocument *doc : {&quick, &reference}) {
        ASSERT_TRUE(rtf::read(rtf, *doc));
        doc->setTextWidth(Width);
    }
    useEditorLayout(quick);
}

// Real files' tables, one with a table nested in a cell, come out as Qt's layout draws them,
// paragraph for paragraph and pixel for pixel.
TEST(FlowTables, RealFilesTablesComeOutAsQtLaysThemOut)
{
    const QString fixtures = qEnvironmentVariable("VELMO_SOURCE_DIR") + QStringLiteral("/tests/rtf/fixtures/");
    for (const char *name : {"tables/borders.rtf", "tables/horizontal_merge.rtf", "tables/nested_table.rtf",
                             "tables/no_borders.rtf", "tables/row_borders.rtf", "tables/shading.rtf",
                             "tables/vertical_merge.rtf", "tables/wide_cell_merge.rtf", "tables/widths.rtf"}) {
        SCOPED_TRACE(name);
        QFile file(fixtures + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QTextDocument quick, reference;
        readPair(bytes, quick, reference);
        ASSERT_TRUE(laysOutAsOneFlow(quick)) << "the chunks take every table read from a file";
        for (QTextBlock a = quick.begin(), b = reference.begin(); a.isValid(); a = a.next(), b = b.next())
            EXPECT_EQ(quick.documentLayout()->blockBoundingRect(a), reference.documentLayout()->blockBoundingRect(b))
                << "paragraph " << a.blockNumber();
        const QImage x = TablePair::drawn(quick, -1), y = TablePair::drawn(reference, -1);
        ASSERT_EQ(x.size(), y.size());
        EXPECT_EQ(visiblyDifferentRows(x, y), 0) << "pixel rows differ";
    }
}

// A table wider than the page makes the document as wide as Qt's layout makes it, so the window
// can scroll to its right edge.
TEST(FlowTables, ATableWiderThanThePageWidensTheDocument)
{
    const QByteArray wide = "{\\rtf1\\ansi before\\par\\trowd\\cellx6000\\cellx12000\\intbl a\\cell b\\cell\\row after\\par}";
    QTextDocument quick, reference;
    readPair(wide, quick, reference);
    ASSERT_TRUE(laysOutAsOneFlow(quick));
    EXPECT_GT(reference.documentLayout()->documentSize().width(), Width + 200);
    EXPECT_EQ(quick.documentLayout()->documentSize(), reference.documentLayout()->documentSize());
}

} // namespace
