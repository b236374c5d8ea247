#pragma once
#include <QString>
#include <stdexcept>

// A command's failure: it ends the command at once. `reason` is for a person.
class CommandFailure : public std::runtime_error
{
public:
    explicit CommandFailure(const QString &reason)
        : std::runtime_error(reason.toStdString()), reason_(reason) {}
    const QString &reason() const { return reason_; }

private:
    QString reason_;
};

// A dialog cancelled while CancelError is on: ends the command silently.
class DialogCancelled : public CommandFailure
{
public:
    DialogCancelled() : CommandFailure(QStringLiteral("cancelled")) {}
};

// A file that could not be read or written.
class FileError : public CommandFailure
{
public:
    FileError(const QString &path, const QString &why, bool writing)
        : CommandFailure(QStringLiteral("Could not %1 %2: %3.")
                             .arg(writing ? QStringLiteral("save") : QStringLiteral("open"), path, why)),
          path_(path), why_(why) {}
    const QString &path() const { return path_; }
    const QString &why() const { return why_; }

private:
    QString path_;
    QString why_;
};
