#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"
#include <QTextCharFormat>

namespace {

using Read = std::optional<bool> (RichTextBox::*)() const;
using Write = void (RichTextBox::*)(bool);

// Off gives on; on and a mixed selection give off.
void toggle(RichTextBox &editor, Read read, Write write)
{
    const std::optional<bool> now = (editor.*read)();
    (editor.*write)(now == false);
}

} // namespace

void Bold_Click(RichTextBox &editor) { toggle(editor, &RichTextBox::SelBold, &RichTextBox::SetSelBold); }
void Italic_Click(RichTextBox &editor) { toggle(editor, &RichTextBox::SelItalic, &RichTextBox::SetSelItalic); }

void Underlined_Click(RichTextBox &editor)
{
    toggle(editor, &RichTextBox::SelUnderline, &RichTextBox::SetSelUnderline);
}

void Striketrough_Click(RichTextBox &editor)
{
    toggle(editor, &RichTextBox::SelStrikeThru, &RichTextBox::SetSelStrikeThru);
}

// One merge, so one undo step and one relayout.
void Deformat_Click(RichTextBox &editor)
{
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setFontItalic(false);
    editor.mergeFormat(plain);
}
