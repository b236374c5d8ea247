// The editor's LoadFile on large documents, in a shown window: how long until the first page is
// painted, and how long a keystroke takes while the rest is still being laid out. The floor is the
// same measurement on a one-page document in the same run; long tables show their growth instead.
#include "bench/rtf/bench_documents.h"
#include "editor/rich_text_box.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <vector>

namespace {

QTemporaryDir *folder;
QString bigPath; // optional: a file of one's own, e.g. 200 MB of short paragraphs

// Notes when the editor's viewport is first painted.
struct FirstPaint : QObject
{
    bool painted = false;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

QString write(const QString &name, const QByteArray &bytes)
{
    QFile file(folder->filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
}

const QString &documentPath(int pages)
{
    static std::map<int, QString> paths;
    auto &path = paths[pages];
    if (path.isEmpty())
        path = pages ? write(QStringLiteral("pages-%1.rtf").arg(pages), rtfbench::generateDocument(pages)) : bigPath;
    return path;
}

// One key press and its repaint, as the window would handle it.
double keystrokeMs(RichTextBox &editor, Qt::Key key = Qt::Key_A, const QString &text = QStringLiteral("a"),
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(editor.viewport(), &press);
    editor.viewport()->repaint();
    return double(clock.nsecsElapsed()) / 1e6;
}

struct OpenFigures
{
    double firstPageMs = 0, enterMs = 0, selectMs = 0, endMs = 0;
    std::vector<double> keys;
    double keyMedian() const { return keys.empty() ? 0 : keys[keys.size() / 2]; }
};

OpenFigures openAndType(benchmark::State &state, const QString &path)
{
    OpenFigures figures;
    for (auto _ : state) {
        RichTextBox editor;
        editor.resize(640, 480);
        editor.show();
        QApplication::processEvents();
        FirstPaint paint;
        editor.viewport()->installEventFilter(&paint);
        QElapsedTimer clock;
        clock.start();
        editor.LoadFile(path);
        while (!paint.painted)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        figures.firstPageMs = double(clock.nsecsElapsed()) / 1e6;
        // Keys while the rest is laid out, for a few seconds.
        QElapsedTimer during;
        during.start();
        while (during.elapsed() < 5000 && figures.keys.size() < 20) {
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < 200)
                QApplication::processEvents(QEventLoop::AllEvents, 10);
            figures.keys.push_back(keystrokeMs(editor));
        }
        // A new paragraph moves every later one.
        figures.enterMs = keystrokeMs(editor, Qt::Key_Return, QStringLiteral("\r"));
        // A selection over two paragraphs asks for the width of the whole flow.
        figures.selectMs = keystrokeMs(editor, Qt::Key_Down, QString(), Qt::ShiftModifier);
        // Ctrl+End asks for the last paragraph's place, which may not be laid out yet.
        figures.endMs = keystrokeMs(editor, Qt::Key_End, QString(), Qt::ControlModifier);
    }
    std::sort(figures.keys.begin(), figures.keys.end());
    state.counters["first_page_ms"] = figures.firstPageMs;
    state.counters["key_median_ms"] = figures.keyMedian();
    state.counters["key_worst_ms"] = figures.keys.empty() ? 0 : figures.keys.back();
    state.counters["enter_ms"] = figures.enterMs;
    state.counters["shift_down_ms"] = figures.selectMs;
    state.counters["ctrl_end_ms"] = figures.endMs;
    return figures;
}

void BM_OpenAndType(benchmark::State &state)
{
    const QString &path = documentPath(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("no --big=PATH given");
        return;
    }
    const OpenFigures figures = openAndType(state, path);
    static OpenFigures floor;
    if (state.range(0) == 1) {
        floor = figures;
    } else if (floor.firstPageMs > 0 && floor.keyMedian() > 0) {
        state.counters["first_page_x_floor"] = figures.firstPageMs / floor.firstPageMs;
        state.counters["key_median_x_floor"] = figures.keyMedian() / floor.keyMedian();
    }
}
// 1 page is the floor; 2700 pages is the 20 MB document; 0 is --big=PATH.
BENCHMARK(BM_OpenAndType)->Arg(1)->Arg(2700)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

// A document that is one long table of two-cell rows, typed into in its first cell: the growth
// from one size to the next, four times as many rows, is 4 when opening stays linear.
void openTable(benchmark::State &state, const QByteArray &rtf, const QString &name, double &previousFirstPage)
{
    const OpenFigures figures = openAndType(state, write(name, rtf));
    if (previousFirstPage > 0)
        state.counters["first_page_growth"] = figures.firstPageMs / previousFirstPage;
    previousFirstPage = figures.firstPageMs;
}

void BM_OpenTable(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < rows; ++i)
        rtf += "\\trowd\\cellx1000\\cellx2000 \\intbl a\\cell b\\cell\\row ";
    rtf += "}";
    static double previous = 0;
    openTable(state, rtf, QStringLiteral("rows-%1.rtf").arg(rows), previous);
}
BENCHMARK(BM_OpenTable)->Arg(250)->Arg(1000)->Arg(4000)->Arg(16000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The same with a table nested in every eighth row's second cell and, every tenth row, a first
// cell merged down over two rows.
void BM_OpenNestedTable(benchmark::State &state)
{
    const int rows = int(state.range(0));
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < rows; ++i) {
        const QByteArray merge = i % 10 == 0 ? "\\clvmgf" : i % 10 == 1 ? "\\clvmrg" : "";
        rtf += "\\trowd" + merge + "\\cellx2000\\cellx5000 \\intbl a\\cell ";
        if (i % 8 == 0)
            rtf += "\\pard\\intbl\\itap2 c\\nestcell d\\nestcell{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000"
                   "\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\itap1 ";
        rtf += "b\\cell\\row ";
    }
    rtf += "}";
    static double previous = 0;
    openTable(state, rtf, QStringLiteral("nested-%1.rtf").arg(rows), previous);
}
BENCHMARK(BM_OpenNestedTable)->Arg(250)->Arg(1000)->Arg(4000)->Arg(16000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    folder = &dir;
    std::vector<char *> rest;
    for (int i = 0; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--big="))
            bigPath = QString::fromLocal8Bit(arg.mid(6));
        else
            rest.push_back(argv[i]);
    }
    int count = int(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
