#pragma once
#include <QString>

class QTextDocument;

// The document as HTML with what it holds beside its body, where a word processor's HTML export
// puts it: the first section's header above the body and its footer below, then the footnotes,
// endnotes and comments, each linked both ways with its mark.
QString htmlWithParts(const QTextDocument &document);
