#pragma once
#include <QByteArray>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <thread>

class QTextDocument;

// Fetches a file's bytes and builds a document from them on a thread of its own, so the window
// keeps drawing and can offer a Cancel. The finished document lives in the thread that started the read.
class BackgroundRead
{
public:
    // `fetch` runs on the read's thread and may throw FileError, which take() then throws.
    BackgroundRead(std::function<QByteArray()> fetch, const QString &path, const QFont &defaultFont);
    BackgroundRead(QByteArray bytes, const QString &path, const QFont &defaultFont);
    // An unfinished read is abandoned: it is told to stop, and ends soon and deletes its result
    // on its own; waitForAbandonedReads() joins it.
    ~BackgroundRead();
    BackgroundRead(const BackgroundRead &) = delete;
    BackgroundRead &operator=(const BackgroundRead &) = delete;

    bool finished() const;
    // How much of the file has been read, 0 to 1.
    double fraction() const;
    // Asks the read to stop; it then finishes soon, and take() throws LoadCancelled.
    void cancel();
    // The document once finished; throws FileError when the bytes could not be read.
    std::unique_ptr<QTextDocument> take();
    // What was read with a loss, one line each, once finished.
    QStringList warnings() const;

    struct State;

private:
    std::shared_ptr<State> state_;
    QString path_;
    std::thread thread_;
};

// Returns once every abandoned read has ended; they were told to stop, so that is soon. Whatever
// owns reads calls it before the application's Qt objects go, as the reads still use Qt.
void waitForAbandonedReads();
// Reads whose thread has not yet ended, abandoned ones included.
int readsUnderWay();
