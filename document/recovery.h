#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <memory>

class CommonDialog;
class MessageBoxSeam;
class QLockFile;
class QThread;
class RichTextBox;
struct DocumentState;

// Where recovery copies live and how far a copy may lag behind the last change.
struct RecoverySettings
{
    QString folder;
    std::chrono::milliseconds interval{std::chrono::seconds(30)};
    // Where earlier versions kept their copies: what a dead run left there is still offered.
    QStringList earlierFolders = {};

    // The user's data folder (on Linux the XDG one, ~/.local/share/velmo/recovery);
    // VELMO_RECOVERY_INTERVAL_MS shortens the interval for tests.
    static RecoverySettings forThisUser();
};

// Keeps a copy of an unsaved document that survives a crash, and offers a dead run's copy at start.
// Each running instance owns one copy, locked for as long as it runs; the copy is written on a
// worker thread from a snapshot taken cheaply on the UI thread.
class DocumentRecovery : public QObject
{
public:
    DocumentRecovery(RichTextBox &editor, CommonDialog &dialog, DocumentState &state, MessageBoxSeam &messages,
                     RecoverySettings settings);
    // A clean end: the copy goes.
    ~DocumentRecovery() override;

    // At start: offers the newest copy left by an instance no longer running, in one Yes/No box.
    // True when the person took it and it is now the document.
    bool offerLeftOver();
    // The text changed: a copy follows within the interval.
    void documentChanged();
    // After a command: nothing unsaved (saved, discarded, emptied) means no copy.
    void followState();
    // Writes the copy now; for the timer, and for tests that do not wait for it.
    void checkpoint();
    // Blocks until every write and removal asked for so far is done.
    void waitForWrites();

    QString ownCopy() const { return ownCopy_; }

private:
    bool somethingUnsaved() const;
    void removeOwnCopy();
    bool recover(const QString &path);
    void setAside(const QString &path);
    QStringList leftOverCopies() const;
    void removeEmptyEarlierFolders() const;
    bool offerNewestLeftOver();

    RichTextBox &editor_;
    CommonDialog &dialog_;
    DocumentState &state_;
    MessageBoxSeam &messages_;
    RecoverySettings settings_;
    QString ownCopy_;
    std::unique_ptr<QLockFile> ownLock_;
    QTimer timer_;
    std::unique_ptr<QThread> writer_;
    QObject *writerContext_ = nullptr;
    bool copyExists_ = false;
};
