#pragma once
#include <QDateTime>
#include <QFile>
#include <QString>

// The file a save writes before it replaces the document. Its name marks it as Velmo's
// ("DOC.rtf.velmo-save-XXXXXX"), so a save killed half-way leaves something a later save can
// recognise and remove, and nobody else's file is ever taken for one.
class SaveBeside
{
public:
    explicit SaveBeside(const QString &target);
    ~SaveBeside(); // removes the file unless it was committed
    SaveBeside(const SaveBeside &) = delete;
    SaveBeside &operator=(const SaveBeside &) = delete;

    // Creates the file with the target's permissions; false sets errorString().
    bool open();
    QFile &file() { return file_; }
    // Flushes it to disk and renames it over the target; false leaves the target untouched.
    bool commit();
    QString errorString() const { return error_; }
    QString target() const { return target_; }

    // Whether `name` is what a save of `targetName` would call its file.
    static bool isSaveFileOf(const QString &name, const QString &targetName);
    // Removes the files of interrupted saves of `target`: Velmo's naming, beside it, owned by this
    // user and last written before `before` (so no save still running elsewhere loses its file).
    static int removeInterrupted(const QString &target, const QDateTime &before);

private:
    QString target_;
    QFile file_;
    QString error_;
    bool committed_ = false;
};

// When this program started; saves of other, running instances write after it.
QDateTime instanceStart();
