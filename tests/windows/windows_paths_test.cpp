// Windows' own file conventions: drive letters, backslashes, names beyond ASCII, CR LF text and
// the local application data folder.
#include "document/dropped_files.h"
#include "document/recovery.h"
#include "editor/version.h"
#include "tests/document/document_fixture.h"
#include "tools/spelling/hunspell_engine.h"
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <shlobj.h>
#include <windows.h>

namespace {

struct PathCase
{
    const char *sentence;
    const char *folder; // made inside the test folder; empty for none
    const char *name;
};

void PrintTo(const PathCase &c, std::ostream *os) { *os << c.sentence; }

struct WindowsPaths : DocumentFixture, testing::WithParamInterface<PathCase>
{
    // The file as a Windows user types or pastes it: drive letter, backslashes.
    QString nativePath(const QString &suffix = QString())
    {
        const PathCase &c = GetParam();
        QString name = QString::fromUtf8(c.name) + suffix;
        if (*c.folder) {
            QDir(dir.path()).mkpath(QString::fromUtf8(c.folder));
            name = QString::fromUtf8(c.folder) + QLatin1Char('/') + name;
        }
        return QDir::toNativeSeparators(QDir::cleanPath(path(name)));
    }

    void dropByUrl(const QString &file)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent entering(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.viewport(), &entering);
        ASSERT_TRUE(entering.isAccepted()) << "the drag of " << file.toStdString() << " was refused";
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(editor.viewport(), &drop);
    }
};

// Given a file name as Windows writes it, when a document is saved there through the
// dialog, opened from there and a text file beside it dropped, then each finds the file.
TEST_P(WindowsPaths, SaveOpenAndDropFindTheFile)
{
    const QString file = nativePath(QStringLiteral(".rtf"));
    ASSERT_TRUE(file.size() > 2 && file[1] == QLatin1Char(':') && file.contains(QLatin1Char('\\')))
        << file.toStdString();
    type(QStringLiteral("saved on Windows"));
    dialogs.confirm(file);
    Save_Click(session);
    ASSERT_TRUE(messages.shown.empty()) << messages.shown.front().prompt.toStdString();
    EXPECT_EQ(state.Modified, 0);
    EXPECT_EQ(documentText(QDir::fromNativeSeparators(file)), QStringLiteral("saved on Windows"));

    New_Click(session);
    messages.answer(vb::vbNo); // New leaves an empty document to be saved
    dialogs.confirm(file);
    Open_Click(session);
    EXPECT_EQ(editor.Text(), QStringLiteral("saved on Windows"));
    EXPECT_EQ(state.HasFileName, 1);
    messages.shown.clear();

    const QString text = nativePath(QStringLiteral(".txt"));
    {
        QFile written(text);
        ASSERT_TRUE(written.open(QIODevice::WriteOnly));
        written.write("first line\r\nsecond line\r\n");
    }
    dropByUrl(text);
    EXPECT_EQ(editor.Text(), QStringLiteral("saved on Windowsfirst line\nsecond line"))
        << "CR LF ends a line and no stray CR or LF is left";
    for (const auto &shown : messages.shown)
        ADD_FAILURE() << "a message: " << shown.prompt.toStdString();
}

const PathCase cases[] = {
    {"a plain name with a drive letter and backslashes", "", "letter"},
    {"a name in French, Greek and Japanese", "", "Résumé Ωμέγα 文書"},
    {"a folder whose name is beyond the system code page", "Документы ★", "отчёт"},
    {"spaces and dots in folder and name", "My Documents/v1.2 drafts", "draft. final"},
};
INSTANTIATE_TEST_SUITE_P(Names, WindowsPaths, testing::ValuesIn(cases),
                         [](const auto &info) { return rowName(info.param.sentence); });

QString knownFolder(const KNOWNFOLDERID &id)
{
    PWSTR path = nullptr;
    QString result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path)))
        result = QDir::fromNativeSeparators(QString::fromWCharArray(path));
    CoTaskMemFree(path);
    return result;
}

// Recovery copies belong to this machine: a roaming profile must not carry a copy to
// another computer, where the run that owned it never was.
TEST(RecoveryFolder, IsUnderTheLocalApplicationDataFolder)
{
    const QString local = knownFolder(FOLDERID_LocalAppData);
    ASSERT_FALSE(local.isEmpty());
    const QString application = QCoreApplication::applicationName();
    const QString organization = QCoreApplication::organizationName();
    QCoreApplication::setApplicationName(QLatin1String(velmo::InternalName));
    QCoreApplication::setOrganizationName(QLatin1String(velmo::ProductName));
    const QString folder = RecoverySettings::forThisUser().folder;
    QCoreApplication::setApplicationName(application);
    QCoreApplication::setOrganizationName(organization);
    EXPECT_EQ(folder.compare(local + QStringLiteral("/Velmo For Windows/Velmo/recovery"), Qt::CaseInsensitive), 0)
        << folder.toStdString() << " is not under " << local.toStdString();
}

// Given the English dictionary in a folder whose name the ANSI code page cannot spell (Velmo
// unpacked under such a user's folder), when the spell check loads it, then it knows English.
TEST(DictionaryBesideTheProgram, LoadsFromAFolderTheCodePageCannotSpell)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Словари ★"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const QString &extension : {QStringLiteral(".aff"), QStringLiteral(".dic")})
        ASSERT_TRUE(QFile::copy(QStringLiteral("/usr/share/hunspell/en_US") + extension,
                                folder + QStringLiteral("/en_US") + extension))
            << "hunspell-en-us is not installed where Wine's Z: drive shows it";
    const auto dictionary = findDictionary(QStringLiteral("en_US"), {folder});
    ASSERT_TRUE(dictionary);
    HunspellEngine engine(*dictionary);
    EXPECT_TRUE(engine.isKnown(QStringLiteral("window")));
    EXPECT_FALSE(engine.isKnown(QStringLiteral("windwo")));
}

} // namespace
