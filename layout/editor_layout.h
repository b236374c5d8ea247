#pragma once
#include <QtGlobal>
#include <functional>

class QTextDocument;

// Qt's document layout moves every later paragraph after any edit, which costs seconds a
// keystroke in a document of millions of paragraphs. The editor's documents lay out instead with
// Velmo's own flow layout when they are one flow of paragraphs (every document a person can make
// here), and otherwise with Qt's layout, taught to lay out an edit inside one paragraph that
// keeps its height as that paragraph alone. Both place paragraphs as Qt's layout does.
// With the flow layout, `moved(below, by)` is told when what is drawn from `below` down moved by
// `by` pixels because paragraphs above it, guessed at, were laid out in the background.
void useEditorLayout(QTextDocument &document, std::function<void(qreal below, qreal by)> moved = {});

// Whether `document` lays out with the flow layout.
bool laysOutAsOneFlow(const QTextDocument &document);
// With Qt's layout: how many edits were laid out as one paragraph alone (-1 with another layout).
int paragraphOnlyPasses(const QTextDocument &document);
