#include "tools/spelling/suggestion_ranking.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A swap across the hands is the commonest slip of a fast typist; within one hand it is rarer.
constexpr double SwapAcrossHands = 0.6, SwapSameHand = 0.85, LeftOut = 0.8, Doubled = 0.8, NeighbourKey = 0.9, Edit = 1.0;

// Rows of a US keyboard; keys are neighbours when they touch in the same or the next row.
constexpr const char *KeyRows[] = {"1234567890-=", "qwertyuiop[]", "asdfghjkl;'", "zxcvbnm,./"};

struct KeyPlace
{
    int row = -1, column = -1;
};

KeyPlace placeOf(QChar c)
{
    const char key = c.toLatin1();
    for (int row = 0; row < int(std::size(KeyRows)); ++row)
        if (const char *at = key ? std::strchr(KeyRows[row], key) : nullptr)
            return {row, int(at - KeyRows[row])};
    return {};
}

// The five leftmost keys of each row are the left hand's.
bool swapAcrossHands(QChar a, QChar b)
{
    const KeyPlace p = placeOf(a), q = placeOf(b);
    return p.row >= 0 && q.row >= 0 && (p.column <= 4) != (q.column <= 4);
}

bool neighbourKeys(QChar a, QChar b)
{
    const KeyPlace p = placeOf(a), q = placeOf(b);
    if (p.row < 0 || q.row < 0 || std::abs(p.row - q.row) > 1)
        return false;
    // Each row sits about half a key right of the one above it.
    const int shift = q.row - p.row;
    const int delta = q.column - p.column;
    return shift == 0 ? std::abs(delta) == 1 : (delta == 0 || delta == -shift);
}

enum class CaseShape { Lower, Capitalised, Upper, Mixed };

CaseShape caseShape(const QString &word)
{
    bool anyUpper = false, restLower = true, allUpper = true;
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (!word[i].isLetter())
            continue;
        anyUpper = anyUpper || word[i].isUpper();
        allUpper = allUpper && word[i].isUpper();
        if (i > 0 && word[i].isUpper())
            restLower = false;
    }
    if (!anyUpper)
        return CaseShape::Lower;
    if (restLower && word[0].isUpper())
        return CaseShape::Capitalised;
    return allUpper ? CaseShape::Upper : CaseShape::Mixed;
}

// Weighted optimal string alignment over the lower-cased words.
double slipDistance(const QString &typed, const QString &meant)
{
    const qsizetype n = typed.size(), m = meant.size();
    std::vector<std::vector<double>> d(std::size_t(n + 1), std::vector<double>(std::size_t(m + 1)));
    const auto extraCost = [&](qsizetype i) { // typed[i - 1] is a letter too many
        const bool doubled = (i > 1 && typed[i - 1] == typed[i - 2]) || (i < n && typed[i - 1] == typed[i]);
        return doubled ? Doubled : Edit;
    };
    for (qsizetype i = 1; i <= n; ++i)
        d[i][0] = d[i - 1][0] + extraCost(i);
    for (qsizetype j = 1; j <= m; ++j)
        d[0][j] = d[0][j - 1] + LeftOut;
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const QChar a = typed[i - 1], b = meant[j - 1];
            const double change = a == b ? 0 : (neighbourKeys(a, b) ? NeighbourKey : Edit);
            double best = std::min({d[i - 1][j - 1] + change, d[i - 1][j] + extraCost(i), d[i][j - 1] + LeftOut});
            if (i > 1 && j > 1 && a == meant[j - 2] && typed[i - 2] == b && a != b)
                best = std::min(best, d[i - 2][j - 2] + (swapAcrossHands(a, b) ? SwapAcrossHands : SwapSameHand));
            d[i][j] = best;
        }
    }
    return d[n][m];
}

} // namespace

double typingDistance(const QString &typed, const QString &suggestion)
{
    const double caseCost = caseShape(typed) == caseShape(suggestion) ? 0 : Edit;
    return slipDistance(typed.toLower(), suggestion.toLower()) + caseCost;
}

QStringList rankedByTypingDistance(const QString &typed, const QStringList &suggestions)
{
    std::vector<std::pair<double, QString>> scored;
    scored.reserve(std::size_t(suggestions.size()));
    for (const QString &s : suggestions)
        scored.emplace_back(typingDistance(typed, s), s);
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList result;
    for (auto &[distance, s] : scored)
        result << s;
    return result;
}
