#pragma once
#include "tools/spelling/spelling_engine.h"
#include "tools/spelling/spelling_pass.h"
#include <QSet>
#include <deque>
#include <vector>

// Answers the spelling questions from a queue (Close when it runs out) and keeps every question.
class ScriptedSpelling : public SpellingPrompt
{
public:
    ScriptedSpelling &change(const QString &to) { return then(SpellingAnswer::Change, to); }
    ScriptedSpelling &changeAll(const QString &to) { return then(SpellingAnswer::ChangeAll, to); }
    ScriptedSpelling &then(SpellingAnswer::Action action, const QString &to = {})
    {
        answers.push_back({action, to});
        return *this;
    }

    SpellingAnswer ask(const SpellingQuestion &question) override
    {
        asked.push_back(question);
        if (answers.empty())
            return {SpellingAnswer::Close, {}};
        const SpellingAnswer next = answers.front();
        answers.pop_front();
        return next;
    }
    void checkEnded() override { ++ended; }

    QStringList askedWords() const
    {
        QStringList words;
        for (const SpellingQuestion &q : asked)
            words << q.word;
        return words;
    }

    std::deque<SpellingAnswer> answers;
    std::vector<SpellingQuestion> asked;
    int ended = 0;
};

// Knows a fixed list of words; suggests the known words of the same length.
class ListedWords : public SpellingEngine
{
public:
    explicit ListedWords(QStringList words) : words_(words.begin(), words.end()) {}
    bool isKnown(const QString &word) override { return words_.contains(word); }
    QStringList suggestions(const QString &word) override
    {
        QStringList same;
        for (const QString &known : std::as_const(words_))
            if (known.size() == word.size())
                same << known;
        same.sort();
        return same;
    }
    void addForThisRun(const QString &word) override { words_.insert(word); }

private:
    QSet<QString> words_;
};
