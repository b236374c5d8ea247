#pragma once

class CommonDialog;
class RichTextBox;

// Steps inside a file command. They return only on success; a cancel or a failure
// throws (DialogCancelled, FileError) and so ends the calling command there.
void SaveWithDialog(CommonDialog &dialog, RichTextBox &editor);
void OpenWithDialog(CommonDialog &dialog, RichTextBox &editor);

inline constexpr const char *RichTextFilter = "RichText files | *.rtf; ";
