#include "editor/rich_text_box.h"
#include "editing/editing_commands.h"

namespace {

constexpr int AlignLeft = 0, AlignRight = 1, AlignCentre = 2;

} // namespace

void LJustifiy_Click(RichTextBox &editor) { editor.SetSelAlignment(AlignLeft); }
void Center_Click(RichTextBox &editor) { editor.SetSelAlignment(AlignCentre); }
void RJustifiy_Click(RichTextBox &editor) { editor.SetSelAlignment(AlignRight); }
