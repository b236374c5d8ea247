#include "editor/background_read.h"
#include "editor/command_failure.h"
#include "editor/load_progress.h"
#include "rtf/rtf.h"
#include <QCoreApplication>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

struct BackgroundRead::State
{
    std::mutex mutex;
    bool done = false;
    bool abandoned = false;
    std::unique_ptr<QTextDocument> document;
    QString failure;
    QStringList warnings;
    std::atomic<bool> cancel = false;
    std::atomic<qint64> readBytes = 0;
    std::atomic<qint64> totalBytes = 0;
};

namespace {

using State = BackgroundRead::State;

std::atomic<int> readsRunning = 0;

// Counts a read from its start until its thread has nothing more of Qt to do.
struct RunningRead
{
    RunningRead() { ++readsRunning; }
    ~RunningRead() { --readsRunning; }
};

// Line breaks of any platform become paragraph breaks; NULs would corrupt the saved file.
QString plainTextOf(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLocal8Bit(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.remove(QChar(0));
    return text;
}

// In pieces, so a long text shows how far it is and can be given up; a cancelled read's partial
// document is thrown away by the caller.
void insertPlainText(const QString &text, QTextDocument &document, const rtf::ReadControl &control)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (qsizetype start = 0; start < text.size();) {
        if (control.cancel && control.cancel->load(std::memory_order_relaxed))
            break;
        const qsizetype end = std::min(text.size(), start + rtf::ReadControl::ReportEvery);
        cursor.insertText(text.mid(start, end - start));
        start = end;
        if (control.progress)
            control.progress(start, text.size());
    }
    cursor.endEditBlock();
}

// RTF when the bytes start with "{\rtf", else plain text; throws FileError naming `path`.
std::unique_ptr<QTextDocument> readDocument(const QByteArray &bytes, const QString &path, const QFont &font,
                                            const rtf::ReadControl &control, QStringList *warnings)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(font);
    doc->setUndoRedoEnabled(false);
    if (bytes.startsWith("{\\rtf")) {
        QString reason;
        if (!rtf::read(bytes, *doc, rtf::ReadLimits{}, &reason, warnings, control))
            throw FileError(path, reason.isEmpty() ? QStringLiteral("Not a readable RTF file") : reason, false);
    } else {
        insertPlainText(plainTextOf(bytes), *doc, control);
    }
    doc->setUndoRedoEnabled(true);
    return doc;
}

void readInto(const std::shared_ptr<State> &state, const std::function<QByteArray()> &fetch, const QString &path,
              const QFont &font, QThread *receiver, std::shared_ptr<RunningRead>)
{
    rtf::ReadControl control;
    control.cancel = &state->cancel;
    control.progress = [&state](qint64 done, qint64 total) {
        state->totalBytes.store(total, std::memory_order_relaxed);
        state->readBytes.store(done, std::memory_order_relaxed);
    };
    std::unique_ptr<QTextDocument> document;
    QString failure;
    QStringList warnings;
    try {
        document = readDocument(fetch(), path, font, control, &warnings);
    } catch (const FileError &e) {
        failure = e.why();
    } catch (const std::bad_alloc &) {
        failure = QStringLiteral("Not enough memory");
    }
    std::lock_guard lock(state->mutex);
    state->done = true;
    if (state->abandoned)
        return; // the document goes with this thread
    if (document)
        document->moveToThread(receiver); // only the thread that has it may give it away
    state->document = std::move(document);
    state->failure = failure;
    state->warnings = warnings;
}

class AbandonedReads;
AbandonedReads &abandonedReads();

// Threads of reads given up before they finished, until someone joins them.
class AbandonedReads
{
public:
    ~AbandonedReads() { joinAll(); } // a joinable thread left at exit would end the program

    void keep(std::thread thread, std::shared_ptr<State> state)
    {
        std::vector<Entry> ended;
        {
            std::lock_guard lock(mutex_);
            std::erase_if(reads_, [&ended](Entry &e) {
                if (!isDone(*e.state))
                    return false;
                ended.push_back(std::move(e));
                return true;
            });
            reads_.push_back({std::move(thread), std::move(state)});
            watchApplicationEnd();
        }
        joinAll(ended);
    }

    void joinAll()
    {
        std::vector<Entry> all;
        {
            std::lock_guard lock(mutex_);
            all.swap(reads_);
        }
        joinAll(all);
    }

private:
    struct Entry
    {
        std::thread thread;
        std::shared_ptr<State> state;
    };

    static bool isDone(State &state)
    {
        std::lock_guard lock(state.mutex);
        return state.done;
    }

    static void joinAll(std::vector<Entry> &entries)
    {
        for (Entry &e : entries)
            if (e.thread.joinable())
                e.thread.join();
    }

    // The last chance, should no owner have waited: the application's end, before Qt's statics go.
    void watchApplicationEnd()
    {
        if (std::exchange(watching_, true))
            return;
        qAddPostRoutine([] {
            AbandonedReads &reads = abandonedReads();
            {
                std::lock_guard lock(reads.mutex_);
                reads.watching_ = false; // Qt forgets a routine once it has run
            }
            reads.joinAll();
        });
    }

    std::mutex mutex_;
    std::vector<Entry> reads_;
    bool watching_ = false;
};

AbandonedReads &abandonedReads()
{
    static AbandonedReads reads;
    return reads;
}

} // namespace

BackgroundRead::BackgroundRead(std::function<QByteArray()> fetch, const QString &path, const QFont &defaultFont)
    : state_(std::make_shared<State>()), path_(path),
      thread_(readInto, state_, std::move(fetch), path, defaultFont, QThread::currentThread(),
              std::make_shared<RunningRead>())
{
}

BackgroundRead::BackgroundRead(QByteArray bytes, const QString &path, const QFont &defaultFont)
    : BackgroundRead([bytes = std::move(bytes)] { return bytes; }, path, defaultFont)
{
}

BackgroundRead::~BackgroundRead()
{
    state_->cancel = true;
    bool done = false;
    {
        std::lock_guard lock(state_->mutex);
        state_->abandoned = true;
        state_->document.reset();
        done = state_->done;
    }
    if (done)
        thread_.join(); // it has only to return
    else
        abandonedReads().keep(std::move(thread_), state_);
}

bool BackgroundRead::finished() const
{
    std::lock_guard lock(state_->mutex);
    return state_->done;
}

double BackgroundRead::fraction() const
{
    const qint64 total = state_->totalBytes.load(std::memory_order_relaxed);
    const qint64 done = state_->readBytes.load(std::memory_order_relaxed);
    return total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : 0.0;
}

void BackgroundRead::cancel()
{
    state_->cancel = true;
}

std::unique_ptr<QTextDocument> BackgroundRead::take()
{
    std::lock_guard lock(state_->mutex);
    if (state_->cancel)
        throw LoadCancelled();
    if (!state_->failure.isEmpty())
        throw FileError(path_, state_->failure, false);
    return std::move(state_->document);
}

QStringList BackgroundRead::warnings() const
{
    std::lock_guard lock(state_->mutex);
    return state_->warnings;
}

void waitForAbandonedReads()
{
    abandonedReads().joinAll();
}

int readsUnderWay()
{
    return readsRunning.load();
}
