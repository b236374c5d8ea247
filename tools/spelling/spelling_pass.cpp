#include "tools/spelling/spelling_pass.h"
#include "tools/spelling/spelling_engine.h"
#include <QHash>
#include <QSet>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace {

constexpr int SentenceReach = 80; // characters shown on each side of a word in a long sentence

bool isApostrophe(QChar c) { return c == QLatin1Char('\'') || c == QChar(0x2019); }
bool isWordLetter(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

struct WordSpan
{
    int start;
    int end;
};

// The next word at or after `from`; apostrophes count only between letters ("don't", not "'quoted'").
WordSpan nextWord(const QString &text, int from)
{
    int start = from;
    while (start < text.size() && !isWordLetter(text[start]))
        ++start;
    int end = start;
    while (end < text.size()) {
        if (isWordLetter(text[end]))
            ++end;
        else if (isApostrophe(text[end]) && end + 1 < text.size() && isWordLetter(text[end + 1]))
            end += 2;
        else
            break;
    }
    return {start, end};
}

bool hasDigit(const QString &word)
{
    return std::any_of(word.cbegin(), word.cend(), [](QChar c) { return c.isDigit(); });
}

class SpellingPass
{
public:
    SpellingPass(QString text, SpellingEngine &engine, SpellingPrompt &prompt)
        : text_(std::move(text)), engine_(engine), prompt_(prompt) {}

    QString run()
    {
        for (WordSpan w = nextWord(text_, 0); w.start < text_.size(); w = nextWord(text_, w.end)) {
            if (!handle(w))
                break;
        }
        return text_;
    }

private:
    // Returns false when the person closed the check. `w.end` moves past a replacement.
    bool handle(WordSpan &w)
    {
        const QString word = text_.mid(w.start, w.end - w.start);
        if (hasDigit(word) || ignored_.contains(word) || isKnown(word))
            return true;
        if (const auto always = changeAll_.constFind(word); always != changeAll_.cend()) {
            replace(w, *always);
            return true;
        }
        SpellingQuestion question = questionAbout(text_, w.start, w.end);
        question.suggestions = engine_.suggestions(word);
        const SpellingAnswer answer = prompt_.ask(question);
        switch (answer.action) {
        case SpellingAnswer::Ignore: break;
        case SpellingAnswer::IgnoreAll: ignored_.insert(word); break;
        case SpellingAnswer::Add:
            engine_.addForThisRun(word);
            known_.clear(); // an added word may make other forms of it known too
            break;
        case SpellingAnswer::ChangeAll: changeAll_.insert(word, answer.replacement); [[fallthrough]];
        case SpellingAnswer::Change: replace(w, answer.replacement); break;
        case SpellingAnswer::Close: return false;
        }
        return true;
    }

    // Prose repeats its words: each distinct word goes to the engine once.
    bool isKnown(const QString &word)
    {
        if (const auto seen = known_.constFind(word); seen != known_.cend())
            return *seen;
        return *known_.insert(word, engine_.isKnown(word));
    }

    void replace(WordSpan &w, const QString &replacement)
    {
        text_.replace(w.start, w.end - w.start, replacement);
        w.end = w.start + int(replacement.size());
    }

    QString text_;
    SpellingEngine &engine_;
    SpellingPrompt &prompt_;
    QSet<QString> ignored_;
    QHash<QString, QString> changeAll_;
    QHash<QString, bool> known_;
};

} // namespace

SpellingQuestion questionAbout(const QString &text, int wordStart, int wordEnd)
{
    const int paragraphStart = wordStart == 0 ? 0 : int(text.lastIndexOf(QLatin1Char('\r'), wordStart - 1)) + 1;
    int paragraphEnd = int(text.indexOf(QLatin1Char('\r'), wordEnd));
    if (paragraphEnd < 0)
        paragraphEnd = int(text.size());
    const QString paragraph = text.mid(paragraphStart, paragraphEnd - paragraphStart);
    const int at = wordStart - paragraphStart;

    QTextBoundaryFinder sentences(QTextBoundaryFinder::Sentence, paragraph);
    sentences.setPosition(at);
    int start = sentences.isAtBoundary() ? at : int(sentences.toPreviousBoundary());
    sentences.setPosition(at);
    int end = int(sentences.toNextBoundary());
    start = std::max({start, 0, at - SentenceReach});
    end = qMin(end < 0 ? int(paragraph.size()) : end, wordEnd - paragraphStart + SentenceReach);

    const QString raw = paragraph.mid(start, end - start);
    int leading = 0;
    while (leading < raw.size() && raw[leading].isSpace())
        ++leading;
    return {text.mid(wordStart, wordEnd - wordStart), raw.trimmed(), at - start - leading, {}};
}

QString checkSpelling(QString text, SpellingEngine &engine, SpellingPrompt &prompt)
{
    QString corrected = SpellingPass(std::move(text), engine, prompt).run();
    prompt.checkEnded();
    return corrected;
}
