#pragma once
#include <QByteArray>
#include <QString>

namespace longtable {

// Rows of one to three lines, borders of different widths meeting between rows, shaded cells,
// a second paragraph now and then: what a long table from a word processor looks like.
// With `merged`, every 31st row starts a cell merged down over three rows, so some merges cross
// where a 64-row chunk would end. With `nested`, every 32nd row has a bordered two-by-two table,
// wider than its cell, between two paragraphs of its right cell, and the row after every 64th one
// has one at the very start of it: on both sides of where chunks end.
inline QByteArray row(int i, bool merged = false, bool nested = false)
{
    const auto borders = [](int top, int bottom) {
        return QStringLiteral("\\clbrdrt\\brdrs\\brdrw%1\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw%2"
                              "\\clbrdrr\\brdrs\\brdrw10")
            .arg(top)
            .arg(bottom)
            .toLatin1();
    };
    const int a = i % 5 == 0 ? 40 : 10, b = i % 7 == 0 ? 30 : 10;
    const int inMerge = i >= 31 ? i % 31 : 3;
    const QByteArray merge = !merged || inMerge > 2 ? QByteArray() : inMerge == 0 ? "\\clvmgf" : "\\clvmrg";
    QByteArray r = "\\trowd\\trgaph108" + merge + borders(a, b) + "\\cellx2500" + borders(b, a) +
                   (i % 3 ? "\\clcbpat2" : "") + "\\cellx6000 \\intbl cell " + QByteArray::number(i);
    if (i % 4 == 0)
        r += " with a longer text that wraps onto a second line in the narrow column";
    const QByteArray inner = nested && i % 32 == 0 ? "right above\\par " : nested && i % 64 == 1 ? "" : "-";
    if (inner == "-") {
        r += "\\cell \\intbl right " + QByteArray::number(i) + (i % 6 == 0 ? "\\par second paragraph" : "") +
             "\\cell\\row ";
        return r;
    }
    const QByteArray nestedRow = "{\\*\\nesttableprops\\trowd\\trgaph60\\clbrdrb\\brdrs\\brdrw10\\cellx4000"
                                 "\\clbrdrb\\brdrs\\brdrw20\\cellx5600\\nestrow}{\\nonesttables\\par}";
    r += "\\cell \\pard\\intbl " + inner + "\\itap2 nested " + QByteArray::number(i) +
         " with enough words to wrap in its narrow cell\\nestcell b\\nestcell" + nestedRow +
         "\\pard\\intbl\\itap2 c\\nestcell d\\par second\\nestcell" + nestedRow +
         "\\pard\\intbl\\itap1 right below " + QByteArray::number(i) + "\\cell\\row ";
    return r;
}

// A document of `before`, a table of `rows` such rows, and `after` (RTF body text).
inline QByteArray rtf(const QByteArray &before, int rows, const QByteArray &after, bool merged = false,
                      bool nested = false)
{
    QByteArray out = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red220\\green230\\blue255;}" + before;
    for (int i = 0; i < rows; ++i)
        out += row(i, merged, nested);
    return out + after + "}";
}

} // namespace longtable
