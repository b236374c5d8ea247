#include "editor/background_read.h"
#include "editor/command_failure.h"
#include "rtf/rtf.h"
#include <QStringDecoder>
#include <QTextDocument>
#include <QThread>
#include <mutex>
#include <thread>

struct BackgroundRead::State
{
    std::mutex mutex;
    bool done = false;
    bool abandoned = false;
    std::unique_ptr<QTextDocument> document;
    QString failure;
};

namespace {

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

void readInto(const std::shared_ptr<BackgroundRead::State> &state, const QByteArray &bytes,
              const QString &path, const QFont &font, QThread *receiver)
{
    std::unique_ptr<QTextDocument> document;
    QString failure;
    try {
        document = documentFromBytes(bytes, path, font);
    } catch (const FileError &e) {
        failure = e.why();
    }
    std::lock_guard lock(state->mutex);
    state->done = true;
    if (state->abandoned)
        return; // the document goes with this thread
    if (document)
        document->moveToThread(receiver); // only the thread that has it may give it away
    state->document = std::move(document);
    state->failure = failure;
}

} // namespace

std::unique_ptr<QTextDocument> documentFromBytes(const QByteArray &bytes, const QString &path,
                                                 const QFont &defaultFont)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->setDefaultFont(defaultFont);
    doc->setUndoRedoEnabled(false);
    if (bytes.startsWith("{\\rtf")) {
        QString reason;
        if (!rtf::read(bytes, *doc, &reason))
            throw FileError(path, reason.isEmpty() ? QStringLiteral("Not a readable RTF file") : reason, false);
    } else {
        doc->setPlainText(plainTextOf(bytes));
    }
    doc->setUndoRedoEnabled(true);
    return doc;
}

BackgroundRead::BackgroundRead(QByteArray bytes, const QString &path, const QFont &defaultFont)
    : state_(std::make_shared<State>()), path_(path)
{
    std::thread(readInto, state_, std::move(bytes), path, defaultFont, QThread::currentThread()).detach();
}

BackgroundRead::~BackgroundRead()
{
    std::lock_guard lock(state_->mutex);
    state_->abandoned = true;
    state_->document.reset();
}

bool BackgroundRead::finished() const
{
    std::lock_guard lock(state_->mutex);
    return state_->done;
}

std::unique_ptr<QTextDocument> BackgroundRead::take()
{
    std::lock_guard lock(state_->mutex);
    if (!state_->failure.isEmpty())
        throw FileError(path_, state_->failure, false);
    return std::move(state_->document);
}
