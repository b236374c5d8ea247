#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

constexpr quint32 BlackBgr = 0x000000, RedBgr = 0x0000FF, YellowBgr = 0x00FFFF, GreenBgr = 0x00FF00,
                  BlueBgr = 0xFF0000;
constexpr double SizeStep = 5;
constexpr double SmallestSize = 1;

void colour(RichTextBox &editor, quint32 bgr)
{
    editor.SetSelColor(bgr);
    editor.SetFocus();
}

double stepped(double points, double step) { return qMax(SmallestSize, points + step); }

// A stretch of the selection in one character format.
struct Run
{
    int from, to;
    QTextCharFormat format;
    double points;
};

std::vector<Run> runsOf(const RichTextBox &editor)
{
    const QFont base = editor.document()->defaultFont();
    std::vector<Run> runs;
    editor.forEachSelectedRun([&](int from, int to, const QTextCharFormat &format) {
        runs.push_back({from, to, format, RichTextBox::pointSizeOf(format, base)});
        return true;
    });
    return runs;
}

// One undo step for the whole selection. A bare caret has no runs: its own format steps.
void stepEachRun(RichTextBox &editor, double step)
{
    const std::vector<Run> runs = runsOf(editor);
    if (runs.empty()) {
        const QFont base = editor.document()->defaultFont();
        editor.SetSelFontSize(stepped(RichTextBox::pointSizeOf(editor.textCursor().charFormat(), base), step));
        return;
    }
    QTextCursor c(editor.document());
    c.beginEditBlock();
    for (const Run &run : runs) {
        c.setPosition(run.from);
        c.setPosition(run.to, QTextCursor::KeepAnchor);
        QTextCharFormat format = run.format;
        format.clearProperty(QTextFormat::FontPixelSize);
        format.setFontPointSize(stepped(run.points, step));
        c.setCharFormat(format);
    }
    c.endEditBlock();
}

void stepSize(RichTextBox &editor, double step)
{
    const std::optional<double> now = editor.SelFontSize();
    if (now && *now > 0)
        editor.SetSelFontSize(stepped(*now, step));
    else
        stepEachRun(editor, step);
}

} // namespace

void Black_Click(RichTextBox &editor) { colour(editor, BlackBgr); }
void Red_Click(RichTextBox &editor) { colour(editor, RedBgr); }
void Yellow_Click(RichTextBox &editor) { colour(editor, YellowBgr); }
void Green_Click(RichTextBox &editor) { colour(editor, GreenBgr); }
void Blue_Click(RichTextBox &editor) { colour(editor, BlueBgr); }

void Fsize8_Click(RichTextBox &editor) { editor.SetSelFontSize(8); }
void Fsize10_Click(RichTextBox &editor) { editor.SetSelFontSize(10); }
void Fsize15_Click(RichTextBox &editor) { editor.SetSelFontSize(15); }
void Fsize20_Click(RichTextBox &editor) { editor.SetSelFontSize(20); }
void Fsize25_Click(RichTextBox &editor) { editor.SetSelFontSize(25); }

void larger_Click(RichTextBox &editor) { stepSize(editor, SizeStep); }
void smaller_Click(RichTextBox &editor) { stepSize(editor, -SizeStep); }
