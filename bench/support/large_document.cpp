#include "support/large_document.h"
#include "rtf/bench_documents.h"
#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QTextEdit>
#include <ctime>
#include <memory>

namespace velmobench {

// VELMO_BENCH_DOCUMENT names a file of one's own to measure instead (a long list, say).
QString largeDocumentFile()
{
    if (const QString own = qEnvironmentVariable("VELMO_BENCH_DOCUMENT"); !own.isEmpty())
        return own;
    static const std::unique_ptr<QTemporaryFile> file = [] {
        auto out = std::make_unique<QTemporaryFile>(QStringLiteral("velmo-bench-XXXXXX.rtf"));
        if (!out->open() || out->write(rtfbench::generateDocument(Pages)) < 0 || !out->flush())
            qFatal("cannot write the benchmark document");
        return out;
    }();
    return file->fileName();
}

void settle(QTextEdit &editor)
{
    (void)editor.document()->documentLayout()->documentSize(); // finishes any lazy layout
    QCoreApplication::processEvents();
    editor.viewport()->repaint();
}

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

} // namespace

Duration durationOf(const std::function<void()> &step)
{
    QElapsedTimer clock;
    const double cpuBefore = threadCpuMs();
    clock.start();
    step();
    return {double(clock.nsecsElapsed()) / 1e6, threadCpuMs() - cpuBefore};
}

} // namespace velmobench
