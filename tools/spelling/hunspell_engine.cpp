#include "tools/spelling/hunspell_engine.h"
#include "tools/spelling/automation.h"
#include "tools/spelling/suggestion_ranking.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <hunspell.hxx>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

bool usable(const QFileInfo &file) { return file.isFile() && file.isReadable() && file.size() > 0; }

std::optional<DictionaryFiles> dictionaryIn(const QString &folder, const QString &name)
{
    const QDir dir(folder);
    const QFileInfo affix(dir.filePath(name + QStringLiteral(".aff")));
    const QFileInfo words(dir.filePath(name + QStringLiteral(".dic")));
    if (!usable(affix) || !usable(words))
        return std::nullopt;
    return DictionaryFiles{name, affix.absoluteFilePath(), words.absoluteFilePath()};
}

std::optional<DictionaryFiles> firstIn(const QStringList &folders, const QString &name)
{
    for (const QString &folder : folders)
        if (auto found = dictionaryIn(folder, name))
            return found;
    return std::nullopt;
}

// "de_AT" when only a dictionary for another country of the language is installed.
std::optional<DictionaryFiles> sameLanguageIn(const QStringList &folders, const QString &language)
{
    for (const QString &folder : folders) {
        const QStringList pattern{language + QStringLiteral("_*.dic")};
        for (const QFileInfo &file : QDir(folder).entryInfoList(pattern, QDir::Files, QDir::Name))
            if (auto found = dictionaryIn(folder, file.completeBaseName()))
                return found;
    }
    return std::nullopt;
}

// Hunspell opens its files through the C library's narrow names. On Windows those are in the ANSI
// code page, which may not spell the folder Velmo was unpacked to; the short name always can.
QByteArray narrowFileName(const QString &file)
{
#ifdef Q_OS_WIN
    const QString native = QDir::toNativeSeparators(file);
    const QByteArray ansi = native.toLocal8Bit();
    if (QString::fromLocal8Bit(ansi) == native)
        return ansi;
    const std::wstring wide = native.toStdWString();
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), DWORD(shortName.size()));
    if (length > 0 && length < shortName.size())
        return QString::fromWCharArray(shortName.c_str(), int(length)).toLocal8Bit();
    return ansi;
#else
    return QFile::encodeName(file);
#endif
}

} // namespace

QStringList standardDictionaryFolders()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
#ifdef Q_OS_WIN
    // Windows has no shared dictionaries: Velmo's own ship beside it.
    return {programFolder + QStringLiteral("/dictionaries"), programFolder};
#else
    return {programFolder + QStringLiteral("/dictionaries"), QStringLiteral("/usr/share/hunspell"),
            QStringLiteral("/usr/share/myspell/dicts"), QStringLiteral("/usr/share/myspell")};
#endif
}

std::optional<DictionaryFiles> findDictionary(const QString &localeName, const QStringList &folders)
{
    const QString name = QString(localeName).replace(QLatin1Char('-'), QLatin1Char('_')).section(QLatin1Char('.'), 0, 0);
    const QString language = name.section(QLatin1Char('_'), 0, 0);
    if (auto exact = firstIn(folders, name))
        return exact;
    if (!language.isEmpty() && language != QLatin1String("C")) {
        if (auto sibling = sameLanguageIn(folders, language))
            return sibling;
        if (auto bare = firstIn(folders, language))
            return bare;
    }
    return firstIn(folders, QStringLiteral("en_US"));
}

HunspellEngine::HunspellEngine(const DictionaryFiles &dictionary)
    : hunspell_(std::make_unique<Hunspell>(narrowFileName(dictionary.affix).constData(),
                                           narrowFileName(dictionary.words).constData()))
{
    const QByteArray encoding = QByteArray::fromStdString(hunspell_->get_dict_encoding());
    encoder_ = QStringEncoder(encoding.constData());
    decoder_ = QStringDecoder(encoding.constData());
    if (!encoder_.isValid() || !decoder_.isValid())
        throw AutomationError(QStringLiteral("The spelling dictionary %1 uses the encoding %2, which cannot be read.")
                                  .arg(dictionary.name, QString::fromLatin1(encoding)));
}

HunspellEngine::~HunspellEngine() = default;

std::optional<std::string> HunspellEngine::encoded(const QString &word)
{
    const QByteArray bytes = encoder_.encode(word);
    if (encoder_.hasError()) {
        encoder_.resetState();
        return std::nullopt;
    }
    return bytes.toStdString();
}

// A word the dictionary's encoding cannot even write is not the dictionary's to judge.
bool HunspellEngine::isKnown(const QString &word)
{
    const auto bytes = encoded(word);
    return !bytes || hunspell_->spell(*bytes);
}

QStringList HunspellEngine::suggestions(const QString &word)
{
    QStringList result;
    if (const auto bytes = encoded(word))
        for (const std::string &suggestion : hunspell_->suggest(*bytes))
            result << decoder_.decode(QByteArrayView(suggestion.data(), qsizetype(suggestion.size())));
    return rankedByTypingDistance(word, result);
}

void HunspellEngine::addForThisRun(const QString &word)
{
    if (const auto bytes = encoded(word))
        hunspell_->add(*bytes);
}
