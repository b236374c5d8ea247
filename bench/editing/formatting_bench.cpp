// Each formatting command of the menus on the whole 1,000-page document, its undo and its redo, in the
// real window, beside the floor: one QTextCursor merge of the same format on the same selection inside
// one edit block, and QTextDocument::undo/redo of it, on the same editor. Each time includes the whole
// layout and a paint. Also the time from a keystroke in the middle of the document to its paint.
#include "editor/rich_text_box.h"
#include "window/form1.h"
#include "support/large_document.h"
#include "support/ratio_table.h"
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>

using namespace velmobench;

namespace {

Form1 *window = nullptr;

RichTextBox &editor() { return *window->RichTextBox1; }

void selectAll()
{
    editor().SetSelStart(0);
    editor().SetSelLength(editor().document()->characterCount());
}

// What a menu command is measured against: one merge of the format it sets.
struct FloorMerge
{
    QTextCharFormat character;
    QTextBlockFormat block;
};

struct Command
{
    const char *action; // the menu item
    FloorMerge floor;
    double goal = 1.2;
    bool startAllBold = false; // Bold a second time: the read walks every run before it turns bold off
};

QTextCharFormat charFormat(const std::function<void(QTextCharFormat &)> &set)
{
    QTextCharFormat f;
    set(f);
    return f;
}

QTextBlockFormat aligned(Qt::Alignment a)
{
    QTextBlockFormat f;
    f.setAlignment(a);
    return f;
}

QTextCharFormat sized(double points) { return charFormat([=](QTextCharFormat &f) { f.setFontPointSize(points); }); }
QTextCharFormat coloured(Qt::GlobalColor c) { return charFormat([=](QTextCharFormat &f) { f.setForeground(QColor(c)); }); }
const QTextCharFormat bold = charFormat([](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); });

const std::vector<Command> &commands()
{
    static const std::vector<Command> all = {
        {"Bold", {bold, {}}},
        {"Bold", {charFormat([](QTextCharFormat &f) { f.setFontWeight(QFont::Normal); }), {}}, 1.2, true},
        {"Italic", {charFormat([](QTextCharFormat &f) { f.setFontItalic(true); }), {}}},
        {"Underlined", {charFormat([](QTextCharFormat &f) { f.setUnderlineStyle(QTextCharFormat::SingleUnderline); }), {}}},
        {"Striketrough", {charFormat([](QTextCharFormat &f) { f.setFontStrikeOut(true); }), {}}},
        {"Deformat", {charFormat([](QTextCharFormat &f) {
                          f.setFontWeight(QFont::Normal);
                          f.setFontItalic(false);
                      }), {}}},
        {"Black", {coloured(Qt::black), {}}},
        {"Red", {coloured(Qt::red), {}}},
        {"Yellow", {coloured(Qt::yellow), {}}},
        {"Green", {coloured(Qt::green), {}}},
        {"Blue", {coloured(Qt::blue), {}}},
        {"Fsize8", {sized(8), {}}},
        {"Fsize10", {sized(10), {}}},
        {"Fsize15", {sized(15), {}}},
        {"Fsize20", {sized(20), {}}},
        {"Fsize25", {sized(25), {}}},
        {"larger", {sized(17), {}}, 2.0},
        {"smaller", {sized(7), {}}, 2.0},
        {"LJustifiy", {{}, aligned(Qt::AlignLeft)}},
        {"Center", {{}, aligned(Qt::AlignHCenter)}},
        {"RJustifiy", {{}, aligned(Qt::AlignRight)}},
    };
    return all;
}

std::string nameOf(const Command &c) { return std::string(c.action) + (c.startAllBold ? "_again" : ""); }

void floorMerge(const FloorMerge &merge)
{
    QTextCursor c = editor().textCursor();
    c.beginEditBlock();
    if (merge.block.isValid() && !merge.block.properties().isEmpty())
        c.mergeBlockFormat(merge.block);
    else
        c.mergeCharFormat(merge.character);
    c.endEditBlock();
}

void pressKey(int key, Qt::KeyboardModifiers modifiers, const QString &text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text), release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&editor(), &press);
    QApplication::sendEvent(&editor(), &release);
}

// Times `apply`, then Ctrl+Z (or the floor's undo), then Ctrl+Y, each settled; undoes again untimed.
void measure(benchmark::State &state, const Command &command, const std::function<void()> &apply,
             const std::function<void()> &undo, const std::function<void()> &redo)
{
    Duration applied, undone, redone;
    for (auto _ : state) {
        selectAll();
        if (command.startAllBold) {
            floorMerge({bold, {}});
            settle(editor());
        }
        QTextDocument &doc = *editor().document();
        const int steps = doc.availableUndoSteps();
        const Duration apply1 = durationOf([&] { apply(); settle(editor()); });
        applied += apply1;
        if (doc.availableUndoSteps() == steps)
            state.SkipWithError("the command changed nothing");
        undone += durationOf([&] { undo(); settle(editor()); });
        if (doc.availableUndoSteps() != steps) // counts the commands of the steps, not the steps
            state.SkipWithError("one undo did not take the whole command back");
        redone += durationOf([&] { redo(); settle(editor()); });
        if (doc.isRedoAvailable())
            state.SkipWithError("nothing was redone");
        editor().document()->undo();
        if (command.startAllBold)
            editor().document()->undo();
        settle(editor());
        state.SetIterationTime(apply1.wallMs / 1000);
    }
    const auto perIteration = [](double ms) { return benchmark::Counter(ms, benchmark::Counter::kAvgIterations); };
    state.counters["cpu"] = perIteration(applied.cpuMs);
    state.counters["undo"] = perIteration(undone.wallMs);
    state.counters["undo_cpu"] = perIteration(undone.cpuMs);
    state.counters["redo"] = perIteration(redone.wallMs);
    state.counters["redo_cpu"] = perIteration(redone.cpuMs);
}

void menuCommand(benchmark::State &state, const Command &command)
{
    QAction *action = window->menuItem(QLatin1String(command.action));
    const int modified = window->state().Modified;
    measure(state, command, [&] { action->trigger(); }, [] { pressKey(Qt::Key_Z, Qt::ControlModifier); },
            [] { pressKey(Qt::Key_Y, Qt::ControlModifier); });
    window->state().Modified = modified;
}

void floorOf(benchmark::State &state, const Command &command)
{
    QTextDocument *doc = editor().document();
    measure(state, command, [&] { floorMerge(command.floor); }, [doc] { doc->undo(); }, [doc] { doc->redo(); });
}

// A keystroke in the middle of the document until it is painted; the floor inserts the same letter.
void keystroke(benchmark::State &state, bool throughWidget)
{
    for (auto _ : state) {
        editor().SetSelStart(editor().document()->characterCount() / 2);
        const double ms = millisecondsOf([&] {
            if (throughWidget) {
                pressKey(Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
            } else {
                QTextCursor c = editor().textCursor();
                c.insertText(QStringLiteral("x"));
            }
            settle(editor());
        });
        editor().document()->undo();
        settle(editor());
        state.SetIterationTime(ms / 1000);
    }
}

benchmark::internal::Benchmark *timed(benchmark::internal::Benchmark *b)
{
    return b->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
}

void registerAll()
{
    for (const Command &c : commands()) {
        const std::string name = nameOf(c);
        timed(benchmark::RegisterBenchmark(("floor/" + name).c_str(), floorOf, c));
        timed(benchmark::RegisterBenchmark(("format/" + name).c_str(), menuCommand, c));
    }
    timed(benchmark::RegisterBenchmark("floor/insert_letter", keystroke, false))->Iterations(20);
    timed(benchmark::RegisterBenchmark("typing/keystroke", keystroke, true))->Iterations(20);
}

std::vector<RatioRow> tableRows()
{
    std::vector<RatioRow> rows;
    for (const Command &c : commands()) {
        const std::string name = nameOf(c);
        for (const char *phase : {"", "undo", "redo"}) {
            const std::string suffix = *phase ? std::string(" ") + phase : "";
            const std::string wall = *phase ? std::string(":") + phase : "", cpu = *phase ? wall + "_cpu" : ":cpu";
            const double goal = *phase ? 1.2 : c.goal;
            rows.push_back({name + suffix, "format/" + name + wall, "floor/" + name + wall, goal});
            rows.push_back({name + suffix + " (cpu)", "format/" + name + cpu, "floor/" + name + cpu, goal});
        }
    }
    rows.push_back({"keystroke in the middle", "typing/keystroke", "floor/insert_letter", 0, 50});
    return rows;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Form1 form;
    window = &form;
    form.show();
    const double openMs = millisecondsOf([] {
        editor().LoadFile(largeDocumentFile());
        settle(editor());
    });
    std::printf("document: %d pages, %d characters, %d paragraphs, opened and laid out in %.0f ms; editor %dx%d\n",
                Pages, editor().document()->characterCount(), editor().document()->blockCount(), openMs,
                editor().width(), editor().height());
    registerAll();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable(tableRows());
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
