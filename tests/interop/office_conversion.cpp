#include "office_conversion.h"
#include <QDirIterator>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

OfficeConversion::OfficeConversion() : m_program(QStandardPaths::findExecutable(QStringLiteral("soffice"))) {}

QStringList OfficeConversion::convert(const QStringList &files, const QString &filter, const QString &suffix,
                                      const QString &outDir)
{
    const auto target = [&](const QString &file) {
        return QDir(outDir).filePath(QFileInfo(file).completeBaseName() + u'.' + suffix);
    };
    const auto unconverted = [&](const QStringList &among) {
        QStringList missing;
        for (const QString &file : among)
            if (!QFileInfo::exists(target(file)))
                missing << file;
        return missing;
    };
    QStringList pending;
    for (const QString &file : files) {
        if (file.isEmpty())
            continue;
        QFile::remove(target(file));
        pending << file;
    }
    run(pending, filter, outDir);
    // One file that stops LibreOffice ends the batch: the first file missed
    // is tried alone, the rest together again.
    for (QStringList missing = unconverted(pending); !missing.isEmpty(); missing = unconverted(missing)) {
        run({missing.takeFirst()}, filter, outDir);
        run(missing, filter, outDir);
    }
    QStringList converted;
    for (const QString &file : files)
        converted << (!file.isEmpty() && QFileInfo::exists(target(file)) ? target(file) : QString());
    return converted;
}

void OfficeConversion::run(const QStringList &files, const QString &filter, const QString &outDir)
{
    if (m_program.isEmpty() || files.isEmpty() || !m_profile.isValid())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(m_program, QStringList{QStringLiteral("-env:UserInstallation=")
                                             + QUrl::fromLocalFile(m_profile.path()).toString(),
                                         QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                         QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), outDir}
                                 + files);
    // A minute to start, then a few seconds a file.
    if (!process.waitForFinished(60000 + 10000 * int(files.size()))) {
        process.kill();
        process.waitForFinished();
    }
}

QStringList rtfFilesIn(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.rtf"), QStringLiteral("*.RTF")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}
