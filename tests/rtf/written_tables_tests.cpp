// The font and colour tables the writer opens a file with.
#include "rtf/written_tables.h"
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

QTextCharFormat run(const QString &family, const QBrush &foreground = {}, const QBrush &background = {})
{
    QTextCharFormat format;
    if (!family.isEmpty())
        format.setFontFamilies(QStringList{family, family + QStringLiteral(" Alt")});
    format.setFontStyleHint(QFont::Serif);
    if (foreground.style() != Qt::NoBrush)
        format.setForeground(foreground);
    if (background.style() != Qt::NoBrush)
        format.setBackground(background);
    return format;
}

// Given runs and a shaded cell, when collected, then each family and colour
// is listed once, in the order first met, and every run finds its entry.
TEST(WrittenTables, ListEachFamilyAndColourOnceInTheOrderFirstMet)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("a"), run({}));
    cursor.insertText(QStringLiteral("b"), run(QStringLiteral("Serif Face"), QColor(255, 0, 0)));
    cursor.insertText(QStringLiteral("c"), run(QStringLiteral("Other"), {}, QColor(0, 0, 255)));
    cursor.insertText(QStringLiteral("d"), run(QStringLiteral("Serif Face"), QColor(255, 0, 0, 128)));
    QTextTable *table = cursor.insertTable(1, 1);
    QTextTableCellFormat cell;
    cell.setBackground(QColor(0, 128, 0));
    table->cellAt(0, 0).setFormat(cell);

    rtf::WrittenTables tables;
    tables.collect(document, QStringLiteral("Default Face"));
    ASSERT_EQ(tables.fonts().size(), 3);
    EXPECT_EQ(tables.fonts().at(0).name, QStringLiteral("Default Face"));
    EXPECT_STREQ(tables.fonts().at(0).family, "\\fnil");
    EXPECT_EQ(tables.fonts().at(1).name, QStringLiteral("Serif Face"));
    EXPECT_STREQ(tables.fonts().at(1).family, "\\froman");
    EXPECT_EQ(tables.fonts().at(1).alternative, QStringLiteral("Serif Face Alt"));
    EXPECT_EQ(tables.fontIndex(QStringLiteral("Other")), 2);

    const QList<QRgb> &colors = tables.colors();
    EXPECT_EQ(colors.count(qRgb(255, 0, 0)), 1) << "a translucent red is the same entry";
    EXPECT_EQ(tables.colorIndex(QColor(255, 0, 0)), colors.indexOf(qRgb(255, 0, 0)) + 1);
    EXPECT_EQ(tables.colorIndex(QColor(0, 0, 255)), colors.indexOf(qRgb(0, 0, 255)) + 1);
    EXPECT_LT(colors.indexOf(qRgb(255, 0, 0)), colors.indexOf(qRgb(0, 0, 255)));
    EXPECT_GT(tables.colorIndex(QColor(0, 128, 0)), 0) << "a cell's shading is listed too";
    EXPECT_EQ(tables.colorIndex(QBrush()), 0);
    EXPECT_EQ(tables.colorIndex(QColor(1, 2, 3)), 0) << "a colour nothing uses has no entry";
}

} // namespace
