// RTF reading and writing against Qt's own floor for the same documents,
// measured in the same run; the ratios, of the fastest of three repetitions in
// process CPU time so that a busy machine disturbs them less, are printed at
// the end.
#include "allocation_counter.h"
#include "bench_documents.h"
#include "rtf/rtf.h"
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include "bench/rtf/fastest_runs.h"
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

struct Subject
{
    QByteArray rtf;
    std::unique_ptr<QTextDocument> document;
    QString html;
};

Subject &subject(int pages)
{
    static std::map<int, Subject> subjects;
    Subject &s = subjects[pages];
    if (s.rtf.isEmpty()) {
        s.rtf = rtfbench::generateDocument(pages);
        s.document = std::make_unique<QTextDocument>();
        rtf::read(s.rtf, *s.document);
        s.html = s.document->toHtml();
    }
    return s;
}

// Qt's floor for building: the same fragments, formats and pictures inserted
// through one cursor in one edit block.
void rebuild(const QTextDocument &source, QTextDocument &target)
{
    target.setUndoRedoEnabled(false);
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    bool first = true;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (first)
            cursor.setBlockFormat(block.blockFormat());
        else
            cursor.insertBlock(block.blockFormat(), block.charFormat());
        first = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat()) {
                cursor.insertText(fragment.text(), format);
                continue;
            }
            const QTextImageFormat image = format.toImageFormat();
            const QUrl url(image.name());
            target.addResource(QTextDocument::ImageResource, url,
                               source.resource(QTextDocument::ImageResource, url));
            for (qsizetype i = 0; i < fragment.length(); ++i)
                cursor.insertImage(image);
        }
    }
    cursor.endEditBlock();
}

// Qt's floor for writing: every fragment's text and formats into a buffer,
// and every picture's encoded bytes in hex.
QByteArray walk(const QTextDocument &document)
{
    QByteArray out;
    out.reserve(document.characterCount() * 2);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        out += "P";
        out += QByteArray::number(int(block.blockFormat().alignment()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                out += document.resource(QTextDocument::ImageResource, rtf::originalPictureUrl(name))
                           .toByteArray()
                           .toHex();
                continue;
            }
            out += QByteArray::number(format.fontWeight());
            out += QByteArray::number(int(format.fontItalic()) | int(format.fontUnderline()) << 1
                                      | int(format.fontStrikeOut()) << 2);
            out += QByteArray::number(format.fontPointSize());
            out += QByteArray::number(format.foreground().color().rgb());
            out += fragment.text().toUtf8();
        }
    }
    return out;
}

void readRtf(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(rtf::read(s.rtf, document));
    }
    state.SetBytesProcessed(state.iterations() * s.rtf.size());
}

void readFloorCursor(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        rebuild(*s.document, document);
    }
}

void readSetHtml(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        document.setUndoRedoEnabled(false);
        document.setHtml(s.html);
    }
}

void writeRtf(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf::write(*s.document));
}

void writeFloorWalk(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(walk(*s.document));
}

void writeToHtml(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(s.document->toHtml());
}

// Peak heap while reading, against what the finished document holds.
void readMemory(benchmark::State &state)
{
    Subject &s = subject(int(state.range(0)));
    for (auto _ : state) {
        const long long before = allocations::current();
        allocations::resetPeak();
        auto document = std::make_unique<QTextDocument>();
        rtf::read(s.rtf, *document);
        const long long peak = allocations::peak() - before;
        const long long held = allocations::current() - before;
        state.counters["peak_MB"] = double(peak) / 1e6;
        state.counters["document_MB"] = double(held) / 1e6;
        state.counters["peak_per_document"] = held > 0 ? double(peak) / double(held) : 0;
    }
}

constexpr int sizes[] = {10, 100, 1000, 2700};

void registerAll()
{
    const auto add = [](const char *name, void (*function)(benchmark::State &)) {
        auto *b = benchmark::RegisterBenchmark(name, function);
        for (int pages : sizes)
            b->Arg(pages);
        b->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Repetitions(3);
        return b;
    };
    add("read_rtf", readRtf);
    add("read_floor_cursor", readFloorCursor);
    add("read_set_html", readSetHtml);
    add("write_rtf", writeRtf);
    add("write_floor_walk", writeFloorWalk);
    add("write_to_html", writeToHtml);
    if (allocations::available())
        add("read_memory", readMemory)->Iterations(1)->Repetitions(1);
}

// Keeps each run's time so the ratios can be printed after the table.
class RatioReporter : public FastestRuns
{
public:
    void noteRun(const std::string &key, const Run &run) override
    {
        if (run.counters.count("peak_per_document"))
            memory[key] = run.counters.at("peak_per_document");
    }

    void printRatios() const
    {
        const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        std::printf("\n%-10s %14s %14s %14s %14s %12s\n", "pages", "read/floor", "read/setHtml",
                    "write/floor", "write/toHtml", "peak/doc");
        std::printf("%-10s %14s %14s %14s %14s %12s\n", "goal", "<= 2", "<= 0.5", "<= 1.5", "< 1", "<= 1.3");
        for (int pages : sizes) {
            const auto mem = memory.find("read_memory/" + std::to_string(pages));
            std::printf("%-10d %14.2f %14.2f %14.2f %14.2f %12.2f\n", pages,
                        ratio(time("read_rtf", pages), time("read_floor_cursor", pages)),
                        ratio(time("read_rtf", pages), time("read_set_html", pages)),
                        ratio(time("write_rtf", pages), time("write_floor_walk", pages)),
                        ratio(time("write_rtf", pages), time("write_to_html", pages)),
                        mem == memory.end() ? 0.0 : mem->second);
        }
        std::printf("\ngrowth 1000 pages / 100 pages (goal <= 11): read %.2f, write %.2f\n",
                    ratio(time("read_rtf", 1000), time("read_rtf", 100)),
                    ratio(time("write_rtf", 1000), time("write_rtf", 100)));
        std::printf("input sizes: 1000 pages %.1f MB, %d pages %.1f MB\n", subject(1000).rtf.size() / 1e6,
                    sizes[3], subject(sizes[3]).rtf.size() / 1e6);
    }

    std::map<std::string, double> memory;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
