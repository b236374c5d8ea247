#pragma once
#include <QString>

class Clipboard;
class PictureBox;
class RichTextBox;

// Character styles. The toggles turn a mixed selection off throughout; a bare caret
// changes the format the next typed characters take. None moves the focus.
void Bold_Click(RichTextBox &editor);
void Italic_Click(RichTextBox &editor);
void Underlined_Click(RichTextBox &editor);
void Striketrough_Click(RichTextBox &editor);
// Bold and italic off; underline, colour and size stay.
void Deformat_Click(RichTextBox &editor);

// Colours give the editor the focus; sizes leave it where it is.
void Black_Click(RichTextBox &editor);
void Red_Click(RichTextBox &editor);
void Yellow_Click(RichTextBox &editor);
void Green_Click(RichTextBox &editor);
void Blue_Click(RichTextBox &editor);
void Fsize8_Click(RichTextBox &editor);
void Fsize10_Click(RichTextBox &editor);
void Fsize15_Click(RichTextBox &editor);
void Fsize20_Click(RichTextBox &editor);
void Fsize25_Click(RichTextBox &editor);
// Five points up or down; on a selection of mixed sizes each run steps from its own
// size. Never below one point.
void larger_Click(RichTextBox &editor);
void smaller_Click(RichTextBox &editor);

// Set, never toggle, on every paragraph the selection touches.
void LJustifiy_Click(RichTextBox &editor);
void Center_Click(RichTextBox &editor);
void RJustifiy_Click(RichTextBox &editor);

// Plain text only, in both directions.
void Cut_Click(RichTextBox &editor, Clipboard &clipboard);
void Copy_Click(RichTextBox &editor, Clipboard &clipboard);
void Paste_Click(RichTextBox &editor, Clipboard &clipboard);

// Pastes the box's picture at the caret by way of the clipboard, then puts back all
// the clipboard held; its text is kept in `sClipText`. The editor pastes from the
// system clipboard, so `clipboard` must be that one.
void InsertSymbol(RichTextBox &editor, Clipboard &clipboard, const PictureBox &box, QString &sClipText);
