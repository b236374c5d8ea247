#pragma once
#include <QString>
#include <QStringList>

class SpellingEngine;

// One unknown word, shown in its sentence.
struct SpellingQuestion
{
    QString word;
    QString sentence;
    int wordInSentence = 0; // where `word` starts in `sentence`
    QStringList suggestions;
};

struct SpellingAnswer
{
    enum Action { Ignore, IgnoreAll, Add, Change, ChangeAll, Close };
    Action action = Close;
    QString replacement; // for Change and ChangeAll
};

// The person answering for each unknown word: the spelling dialog, or a script in tests.
class SpellingPrompt
{
public:
    virtual ~SpellingPrompt() = default;
    virtual SpellingAnswer ask(const SpellingQuestion &question) = 0;
    // The check is over: no more questions.
    virtual void checkEnded() {}
};

// Walks `text` (paragraphs ended by "\r") word by word, asking about each unknown word,
// and returns the text with the chosen corrections. Close keeps the corrections made so far.
QString checkSpelling(QString text, SpellingEngine &engine, SpellingPrompt &prompt);

// The sentence around text[wordStart, wordEnd), clipped when very long.
SpellingQuestion questionAbout(const QString &text, int wordStart, int wordEnd);
