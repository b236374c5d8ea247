#pragma once
// Headless LibreOffice as a converter of many files at once, with a profile
// of its own so it neither reads nor disturbs a person's settings.
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class OfficeConversion
{
public:
    OfficeConversion();

    // Empty when LibreOffice is not installed.
    const QString &program() const { return m_program; }

    // Converts `files` into `outDir` with `filter` ("fodt", "rtf:Rich Text Format", ...).
    // Returns the converted files' paths in the order of `files`, empty where a
    // file could not be converted or none was given.
    QStringList convert(const QStringList &files, const QString &filter, const QString &suffix,
                        const QString &outDir);

private:
    void run(const QStringList &files, const QString &filter, const QString &outDir);

    QString m_program;
    QTemporaryDir m_profile;
};

// The RTF files in `folder` and the folders below it, sorted: a corpus the census tools read.
QStringList rtfFilesIn(const QString &folder);
