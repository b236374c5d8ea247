#include "tools/spelling/text_corrections.h"
#include <QHash>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <optional>

namespace {

// Beyond this many word edits the changed stretch is replaced as a whole: still right, just coarser.
constexpr int MaxWordEdits = 2000;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('\'') || c == QChar(0x2019); }

// Words, and every other character on its own, as ids; `starts` has one more entry: the text's end.
struct Tokens
{
    std::vector<int> ids;
    std::vector<int> starts;
};

// The tokens of text[from, to); positions stay those of the whole text.
Tokens tokenise(const QString &text, int from, int to, QHash<QStringView, int> &dictionary)
{
    Tokens tokens;
    int i = from;
    while (i < to) {
        int end = i + 1;
        if (isWordChar(text[i]))
            while (end < to && isWordChar(text[end]))
                ++end;
        const QStringView token = QStringView(text).mid(i, end - i);
        auto known = dictionary.constFind(token);
        if (known == dictionary.cend())
            known = dictionary.insert(token, int(dictionary.size()));
        tokens.ids.push_back(*known);
        tokens.starts.push_back(i);
        i = end;
    }
    tokens.starts.push_back(to);
    return tokens;
}

// Where the texts differ, widened to whole tokens: [head, size - tail) of each.
struct DifferingStretch
{
    int head, tail;
};

DifferingStretch differingStretch(const QString &before, const QString &after)
{
    const int n = int(before.size()), m = int(after.size()), shorter = std::min(n, m);
    int head = 0, tail = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    while (tail < shorter - head && before[n - 1 - tail] == after[m - 1 - tail])
        ++tail;
    // A token starts after a character that is no word's, and a character that is no word's is a token.
    while (head > 0 && isWordChar(before[head - 1]))
        --head;
    while (tail > 0 && isWordChar(before[n - tail]))
        --tail;
    return {head, tail};
}

// A stretch of tokens [oldFrom, oldTo) replaced by [newFrom, newTo).
struct Hunk
{
    int oldFrom, oldTo, newFrom, newTo;
};

enum class Step { Keep, Remove, Add };

// Myers' shortest edit script; nullopt when it needs more than `maxEdits` steps.
std::optional<std::vector<Step>> shortestScript(const std::vector<int> &a, const std::vector<int> &b, int maxEdits)
{
    const int n = int(a.size()), m = int(b.size());
    const int limit = std::min(n + m, maxEdits);
    std::vector<int> v(2 * limit + 3, 0);
    const int mid = limit + 1;
    std::vector<std::vector<int>> trace; // trace[d][k + d]: furthest x on diagonal k before step d
    for (int d = 0; d <= limit; ++d) {
        trace.emplace_back(v.begin() + mid - d, v.begin() + mid + d + 1);
        for (int k = -d; k <= d; k += 2) {
            const bool down = k == -d || (k != d && v[mid + k - 1] < v[mid + k + 1]);
            int x = down ? v[mid + k + 1] : v[mid + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y])
                ++x, ++y;
            v[mid + k] = x;
            if (x < n || y < m)
                continue;
            std::vector<Step> steps;
            for (int e = d; e > 0; --e) {
                const auto &before = trace[e];
                const int kk = x - y;
                auto at = [&](int diagonal) { return before[diagonal + e]; };
                const bool wentDown = kk == -e || (kk != e && at(kk - 1) < at(kk + 1));
                const int prevK = wentDown ? kk + 1 : kk - 1;
                const int prevX = at(prevK), prevY = prevX - prevK;
                for (; x > (wentDown ? prevX : prevX + 1); --x, --y)
                    steps.push_back(Step::Keep);
                steps.push_back(wentDown ? Step::Add : Step::Remove);
                x = prevX, y = prevY;
            }
            steps.insert(steps.end(), size_t(x), Step::Keep);
            std::reverse(steps.begin(), steps.end());
            return steps;
        }
    }
    return std::nullopt;
}

std::vector<Hunk> hunksOf(const std::vector<Step> &steps)
{
    std::vector<Hunk> hunks;
    int i = 0, j = 0;
    for (size_t s = 0; s < steps.size();) {
        if (steps[s] == Step::Keep) {
            ++i, ++j, ++s;
            continue;
        }
        Hunk h{i, i, j, j};
        for (; s < steps.size() && steps[s] != Step::Keep; ++s)
            (steps[s] == Step::Remove ? h.oldTo : h.newTo)++;
        i = h.oldTo, j = h.newTo;
        hunks.push_back(h);
    }
    return hunks;
}

std::vector<Hunk> wordHunks(const Tokens &a, const Tokens &b)
{
    const int n = int(a.ids.size()), m = int(b.ids.size());
    int head = 0, tail = 0;
    while (head < n && head < m && a.ids[head] == b.ids[head])
        ++head;
    while (tail < n - head && tail < m - head && a.ids[n - 1 - tail] == b.ids[m - 1 - tail])
        ++tail;
    const std::vector<int> oldMiddle(a.ids.begin() + head, a.ids.end() - tail);
    const std::vector<int> newMiddle(b.ids.begin() + head, b.ids.end() - tail);
    const auto steps = shortestScript(oldMiddle, newMiddle, MaxWordEdits);
    if (!steps)
        return {{head, n - tail, head, m - tail}};
    std::vector<Hunk> hunks = hunksOf(*steps);
    for (Hunk &h : hunks)
        h.oldFrom += head, h.oldTo += head, h.newFrom += head, h.newTo += head;
    return hunks;
}

// Pictures and paragraph marks lend no character format to text.
int formatSource(const QString &text, int from, int to)
{
    for (int i = from; i < to; ++i)
        if (text[i] != QChar::ObjectReplacementCharacter && text[i] != QLatin1Char('\n'))
            return i;
    return -1;
}

TextCorrection trimmed(const QString &before, const QString &after, int oldFrom, int oldTo, int newFrom, int newTo)
{
    int head = 0, tail = 0;
    while (oldFrom + head < oldTo && newFrom + head < newTo && before[oldFrom + head] == after[newFrom + head])
        ++head;
    while (oldTo - tail > oldFrom + head && newTo - tail > newFrom + head && before[oldTo - 1 - tail] == after[newTo - 1 - tail])
        ++tail;
    return {oldFrom + head, oldTo - oldFrom - head - tail, after.mid(newFrom + head, newTo - newFrom - head - tail),
            formatSource(before, oldFrom, oldTo)};
}

QTextCharFormat formatAt(QTextDocument &document, int position)
{
    QTextCursor c(&document);
    c.setPosition(position + 1);
    return c.charFormat();
}

void apply(QTextCursor &c, const TextCorrection &edit)
{
    QTextDocument &document = *c.document();
    c.setPosition(edit.position);
    c.setPosition(edit.position + edit.removed, QTextCursor::KeepAnchor);
    const QTextCharFormat format = edit.formatFrom >= 0 ? formatAt(document, edit.formatFrom) : c.charFormat();
    QString text = edit.inserted;
    // Text cannot make a picture.
    text.remove(QChar::ObjectReplacementCharacter);
    if (text.isEmpty())
        c.removeSelectedText();
    else
        c.insertText(text, format);
}

QString asEditorText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.remove(QChar(0));
    return text;
}

} // namespace

std::vector<TextCorrection> correctionsBetween(const QString &before, const QString &after)
{
    if (before == after)
        return {};
    // Only the stretch that differs is compared word by word: a spell check changes little of a long text.
    const DifferingStretch differs = differingStretch(before, after);
    QHash<QStringView, int> dictionary;
    const Tokens a = tokenise(before, differs.head, int(before.size()) - differs.tail, dictionary);
    const Tokens b = tokenise(after, differs.head, int(after.size()) - differs.tail, dictionary);
    std::vector<TextCorrection> corrections;
    for (const Hunk &h : wordHunks(a, b)) {
        TextCorrection c = trimmed(before, after, a.starts[h.oldFrom], a.starts[h.oldTo], b.starts[h.newFrom], b.starts[h.newTo]);
        if (c.removed > 0 || !c.inserted.isEmpty())
            corrections.push_back(std::move(c));
    }
    return corrections;
}

bool applyCorrectedText(QTextDocument &document, const QString &corrected)
{
    const auto corrections = correctionsBetween(document.toPlainText(), asEditorText(corrected));
    if (corrections.empty())
        return false;
    QTextCursor c(&document);
    c.beginEditBlock();
    for (auto edit = corrections.rbegin(); edit != corrections.rend(); ++edit)
        apply(c, *edit);
    c.endEditBlock();
    return true;
}
