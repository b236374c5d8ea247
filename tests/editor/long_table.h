#pragma once
#include <QByteArray>
#include <QString>

namespace longtable {

// Rows of one to three lines, borders of different widths meeting between rows, shaded cells,
// a second paragraph now and then: what a long table from a word processor looks like.
// With `merged`, every 31st row starts a cell merged down over three rows, so some merges cross
// where a 64-row chunk would end.
inline QByteArray row(int i, bool merged = false)
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
    r += "\\cell \\intbl right " + QByteArray::number(i) + (i % 6 == 0 ? "\\par second paragraph" : "") + "\\cell\\row ";
    return r;
}

// A document of `before`, a table of `rows` such rows, and `after` (RTF body text).
inline QByteArray rtf(const QByteArray &before, int rows, const QByteArray &after, bool merged = false)
{
    QByteArray out = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red220\\green230\\blue255;}" + before;
    for (int i = 0; i < rows; ++i)
        out += row(i, merged);
    return out + after + "}";
}

} // namespace longtable
