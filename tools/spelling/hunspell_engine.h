#pragma once
#include "tools/spelling/spelling_engine.h"
#include <QStringConverter>
#include <memory>
#include <optional>

class Hunspell;

struct DictionaryFiles
{
    QString name; // "en_US"
    QString affix;
    QString words;
};

// The folders where spelling dictionaries live: the one shipped beside the program first, then
// the system's (Windows has none of its own).
QStringList standardDictionaryFolders();

// The dictionary for `localeName` ("de_DE"): that exact one, else another of its language, else en_US.
std::optional<DictionaryFiles> findDictionary(const QString &localeName, const QStringList &folders);

class HunspellEngine : public SpellingEngine
{
public:
    // Throws AutomationError when the dictionary cannot be used.
    explicit HunspellEngine(const DictionaryFiles &dictionary);
    ~HunspellEngine() override;

    bool isKnown(const QString &word) override;
    QStringList suggestions(const QString &word) override;
    void addForThisRun(const QString &word) override;

private:
    std::optional<std::string> encoded(const QString &word);

    std::unique_ptr<Hunspell> hunspell_;
    QStringEncoder encoder_;
    QStringDecoder decoder_;
};
