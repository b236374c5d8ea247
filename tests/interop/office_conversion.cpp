#include "office_conversion.h"
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
    for (const QString &file : files)
        QFile::remove(target(file));
    run(files, filter, outDir);
    QStringList converted;
    for (const QString &file : files) {
        // One file that stops LibreOffice ends the batch; the rest go on alone.
        if (!QFileInfo::exists(target(file)))
            run({file}, filter, outDir);
        converted << (QFileInfo::exists(target(file)) ? target(file) : QString());
    }
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
