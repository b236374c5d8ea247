#pragma once
#include <QString>
#include <QStringList>

// Knows which words are spelled right and what an unknown word might have meant.
class SpellingEngine
{
public:
    virtual ~SpellingEngine() = default;
    virtual bool isKnown(const QString &word) = 0;
    virtual QStringList suggestions(const QString &word) = 0;
    // Accepts `word` for as long as this engine lives.
    virtual void addForThisRun(const QString &word) = 0;
};
