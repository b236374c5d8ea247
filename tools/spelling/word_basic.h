#pragma once
#include "tools/spelling/automation.h"
#include <QHash>
#include <QLocale>
#include <memory>

class SpellingEngine;
class SpellingPrompt;

// How the built-in "Word.Basic" server finds its dictionary and asks about unknown words.
struct WordBasicSettings
{
    QString localeName = QLocale::system().name();
    QStringList dictionaryFolders;    // empty: the standard folders
    std::shared_ptr<SpellingPrompt> prompt; // empty: the spelling dialog
};

// Registers the built-in server as "Word.Basic". Its dictionary is loaded only when an object is created.
void registerWordBasic(AutomationRegistry &registry, WordBasicSettings settings = {});

// Starts the server with a Hunspell dictionary; throws AutomationError when there is none to use.
std::unique_ptr<AutomationServer> startWordBasic(const WordBasicSettings &settings);

// A word processor reduced to what a spell check needs: documents of plain text whose paragraphs
// end with "\r" (so a document always ends with one), a selection, document variables,
// and an interactive spell check.
class WordBasicServer : public AutomationServer
{
public:
    WordBasicServer(std::unique_ptr<SpellingEngine> engine, std::shared_ptr<SpellingPrompt> prompt);
    ~WordBasicServer() override;

    QVariant invoke(const QString &command, const QVariantList &arguments) override;

private:
    struct Document
    {
        QString text = QStringLiteral("\r");
        int selectionStart = 0;
        int selectionEnd = 0;
        QHash<QString, QString> variables;
    };
    using Command = QVariant (WordBasicServer::*)(const QVariantList &);

    Document &active();
    QVariant FileNew(const QVariantList &);
    QVariant Insert(const QVariantList &arguments);
    QVariant ToolsSpelling(const QVariantList &);
    QVariant EditSelectAll(const QVariantList &);
    QVariant Selection(const QVariantList &);
    QVariant SetDocumentVar(const QVariantList &arguments);
    QVariant GetDocumentVar(const QVariantList &arguments);

    std::unique_ptr<SpellingEngine> engine_;
    std::shared_ptr<SpellingPrompt> prompt_;
    std::vector<Document> documents_; // the last one is active; none are ever closed
};
