#pragma once
#include <QString>
#include <QStringList>

// How far `suggestion` lies from what was typed, counted in the typing slips that turn one into the
// other: two neighbouring letters swapped (cheapest when typed by different hands), a letter left
// out, a neighbouring key hit instead, a letter typed twice, then any other letter changed or added. Letters compare
// without case; a suggestion whose capitals do not follow the typed word's costs one edit more.
double typingDistance(const QString &typed, const QString &suggestion);

// The suggestions nearest first; the engine's own order decides between equally near ones.
QStringList rankedByTypingDistance(const QString &typed, const QStringList &suggestions);
