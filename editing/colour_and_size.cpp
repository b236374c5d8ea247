#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"
#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>
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

// A stretch of the selection in one size. Sizes in pixels (pasted web text) are kept per run, with
// their format, since a merge cannot take the pixel size away.
struct Stretch
{
    int from, to;
    double points;
    std::optional<QTextCharFormat> pixelSized;
};

// One walk over the runs; neighbours of the same size in points make one stretch, so each stretch is
// one merge, and each format's size is worked out once.
std::vector<Stretch> stretchesOf(const RichTextBox &editor)
{
    const QFont base = editor.document()->defaultFont();
    QHash<int, double> pointsOfFormat;
    std::vector<Stretch> stretches;
    editor.forEachSelectedRun([&](int from, int to, const QTextFragment &fragment) {
        auto known = pointsOfFormat.constFind(fragment.charFormatIndex());
        if (known == pointsOfFormat.cend())
            known = pointsOfFormat.insert(fragment.charFormatIndex(),
                                          RichTextBox::pointSizeOf(fragment.charFormat(), base));
        std::optional<QTextCharFormat> pixels;
        if (const QTextCharFormat format = fragment.charFormat(); format.hasProperty(QTextFormat::FontPixelSize))
            pixels = format;
        // Between two runs lie at most paragraph marks, which take the size with them.
        if (!pixels && !stretches.empty() && !stretches.back().pixelSized && stretches.back().points == *known)
            stretches.back().to = to;
        else
            stretches.push_back({from, to, *known, pixels});
        return true;
    });
    return stretches;
}

void stepStretch(QTextCursor &c, const Stretch &stretch, double step)
{
    c.setPosition(stretch.from);
    c.setPosition(stretch.to, QTextCursor::KeepAnchor);
    if (stretch.pixelSized) {
        QTextCharFormat format = *stretch.pixelSized;
        format.clearProperty(QTextFormat::FontPixelSize);
        format.setFontPointSize(stepped(stretch.points, step));
        c.setCharFormat(format);
        return;
    }
    QTextCharFormat size;
    size.setFontPointSize(stepped(stretch.points, step));
    c.mergeCharFormat(size);
}

// One undo step for the whole selection; each stretch steps from its own size. A bare caret has no
// runs: its own format steps.
void stepSize(RichTextBox &editor, double step)
{
    const std::vector<Stretch> stretches = stretchesOf(editor);
    if (stretches.empty()) {
        const QFont base = editor.document()->defaultFont();
        editor.SetSelFontSize(stepped(RichTextBox::pointSizeOf(editor.textCursor().charFormat(), base), step));
        return;
    }
    if (stretches.size() == 1 && !stretches.front().pixelSized) {
        editor.SetSelFontSize(stepped(stretches.front().points, step));
        return;
    }
    QTextCursor c(editor.document());
    c.beginEditBlock();
    for (const Stretch &stretch : stretches)
        stepStretch(c, stretch, step);
    c.endEditBlock();
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
