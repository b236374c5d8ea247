#pragma once
#include <QImage>
#include <climits>

// How many pixel rows of two drawings differ visibly: a border's corner can come out one level of
// grey apart where a copy is drawn moved down; anything more is a wrong drawing.
inline int visiblyDifferentRows(const QImage &a, const QImage &b, int from = 0, int to = INT_MAX)
{
    const auto apart = [](QRgb x, QRgb y) {
        return qAbs(qRed(x) - qRed(y)) > 2 || qAbs(qGreen(x) - qGreen(y)) > 2 || qAbs(qBlue(x) - qBlue(y)) > 2;
    };
    int rows = 0;
    for (int y = qMax(0, from); y < qMin(to, qMin(a.height(), b.height())); ++y)
        for (int x = 0; x < qMin(a.width(), b.width()); ++x)
            if (apart(a.pixel(x, y), b.pixel(x, y))) {
                ++rows;
                break;
            }
    return rows;
}
