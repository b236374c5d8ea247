#include "tools/spelling/word_basic.h"
#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/spelling_dialog.h"
#include "tools/spelling/spelling_pass.h"
#include <QApplication>

namespace {

QString argumentAsText(const QVariantList &arguments, qsizetype index)
{
    const QVariant &value = arguments.at(index);
    if (!value.canConvert<QString>())
        throw AutomationError(QStringLiteral("Type mismatch: argument %1 must be text.").arg(index + 1));
    return value.toString();
}

// Line ends of any platform become paragraph marks.
QString asParagraphMarks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    return text;
}

QString noDictionaryReason(const WordBasicSettings &settings, const QStringList &folders)
{
    return QStringLiteral("No spelling dictionary for %1 or en_US was found in %2.")
        .arg(settings.localeName, folders.isEmpty() ? QStringLiteral("any folder") : folders.join(QStringLiteral(", ")));
}

} // namespace

std::unique_ptr<AutomationServer> startWordBasic(const WordBasicSettings &settings)
{
    const QStringList folders =
        settings.dictionaryFolders.isEmpty() ? standardDictionaryFolders() : settings.dictionaryFolders;
    const auto dictionary = findDictionary(settings.localeName, folders);
    if (!dictionary)
        throw AutomationError(noDictionaryReason(settings, folders));
    return std::make_unique<WordBasicServer>(std::make_unique<HunspellEngine>(*dictionary), settings.prompt);
}

void registerWordBasic(AutomationRegistry &registry, WordBasicSettings settings)
{
    registry.Register(QStringLiteral("Word.Basic"), [settings] { return startWordBasic(settings); });
}

WordBasicServer::WordBasicServer(std::unique_ptr<SpellingEngine> engine, std::shared_ptr<SpellingPrompt> prompt)
    : engine_(std::move(engine)), prompt_(std::move(prompt))
{
}

WordBasicServer::~WordBasicServer() = default;

QVariant WordBasicServer::invoke(const QString &command, const QVariantList &arguments)
{
    struct Entry
    {
        const char *name;
        qsizetype arguments;
        Command run;
    };
    static const Entry commands[] = {
        {"FileNew", 0, &WordBasicServer::FileNew},
        {"Insert", 1, &WordBasicServer::Insert},
        {"ToolsSpelling", 0, &WordBasicServer::ToolsSpelling},
        {"EditSelectAll", 0, &WordBasicServer::EditSelectAll},
        {"Selection", 0, &WordBasicServer::Selection},
        {"SetDocumentVar", 2, &WordBasicServer::SetDocumentVar},
        {"GetDocumentVar", 1, &WordBasicServer::GetDocumentVar},
    };
    for (const Entry &entry : commands) {
        if (command.compare(QLatin1String(entry.name), Qt::CaseInsensitive) != 0)
            continue;
        if (arguments.size() != entry.arguments)
            throw AutomationError(QStringLiteral("Wrong number of arguments for %1: it takes %2, not %3.")
                                      .arg(command)
                                      .arg(entry.arguments)
                                      .arg(arguments.size()));
        return (this->*entry.run)(arguments);
    }
    throw AutomationError(QStringLiteral("Unknown command: %1.").arg(command));
}

WordBasicServer::Document &WordBasicServer::active()
{
    if (documents_.empty())
        throw AutomationError(QStringLiteral("This command is not available because no document is open."));
    return documents_.back();
}

QVariant WordBasicServer::FileNew(const QVariantList &)
{
    documents_.emplace_back();
    return {};
}

QVariant WordBasicServer::Insert(const QVariantList &arguments)
{
    Document &doc = active();
    const QString text = asParagraphMarks(argumentAsText(arguments, 0));
    // The final paragraph mark stays, whatever was selected.
    const int end = qMin(doc.selectionEnd, int(doc.text.size()) - 1);
    const int start = qMin(doc.selectionStart, end);
    doc.text.replace(start, end - start, text);
    doc.selectionStart = doc.selectionEnd = start + int(text.size());
    return {};
}

QVariant WordBasicServer::ToolsSpelling(const QVariantList &)
{
    Document &doc = active();
    std::unique_ptr<SpellingDialog> dialog;
    SpellingPrompt *prompt = prompt_.get();
    if (!prompt) {
        dialog = std::make_unique<SpellingDialog>(QApplication::activeWindow());
        prompt = dialog.get();
    }
    doc.text = checkSpelling(doc.text, *engine_, *prompt);
    doc.selectionStart = doc.selectionEnd = 0;
    return {};
}

QVariant WordBasicServer::EditSelectAll(const QVariantList &)
{
    Document &doc = active();
    doc.selectionStart = 0;
    doc.selectionEnd = int(doc.text.size());
    return {};
}

// An empty selection reads as the character after the insertion point.
QVariant WordBasicServer::Selection(const QVariantList &)
{
    const Document &doc = active();
    const int length = qMax(1, doc.selectionEnd - doc.selectionStart);
    return doc.text.mid(doc.selectionStart, length);
}

QVariant WordBasicServer::SetDocumentVar(const QVariantList &arguments)
{
    active().variables.insert(argumentAsText(arguments, 0), argumentAsText(arguments, 1));
    return {};
}

QVariant WordBasicServer::GetDocumentVar(const QVariantList &arguments)
{
    return active().variables.value(argumentAsText(arguments, 0));
}
