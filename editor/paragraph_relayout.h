#pragma once

class QTextDocument;

// Qt's document layout moves every later paragraph after any edit, which costs seconds a
// keystroke in a document of millions of paragraphs. The layout installed here lays out an edit
// that stays inside one paragraph of the main flow, and leaves its height as it was, as that
// paragraph alone, by the rules Qt's own pass follows; anything else goes to Qt's pass.
void useParagraphRelayout(QTextDocument &document);

// How many edits were laid out as one paragraph alone; -1 when the document lays out otherwise.
int paragraphOnlyPasses(const QTextDocument &document);
