#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <functional>

namespace rtf {

// Sets `name` in a run of kept RTF words ("\keepn\lin360"), replacing its earlier value, so a
// word given again does not pile up. Runs past a few kilobytes keep what they have.
void setKeptWord(QByteArray &words, QByteArrayView name, bool hasParam, int param);
void dropKeptWord(QByteArray &words, QByteArrayView name);

// Kept words and groups name fonts and colours by the numbers of the file they came from;
// written into another file, each such number is replaced by what `font` or `color` gives.
struct TableNumbers
{
    std::function<int(int)> font;
    std::function<int(int)> color;
};
QByteArray renumbered(QByteArrayView rtf, const TableNumbers &numbers);

} // namespace rtf
