#pragma once
#include <QString>
#include <QTextCharFormat>
#include <memory>
#include <vector>

class QTextCursor;
class QTextDocument;

// The clipboard carries plain text, so a note's mark copied with the text would reach other
// programs as a stray character. The marks are left out of the copied text and remembered here
// with their notes, so that pasting that same text back into Velmo brings the notes along.
class CopiedNotes
{
public:
    CopiedNotes();
    ~CopiedNotes();
    // The selection's text without its notes' marks; the marks and their notes are remembered.
    QString copy(const QTextCursor &selection);
    // Inserts `text` in `format` at `cursor`, with the remembered marks when `text` is what was copied.
    void paste(QTextCursor &cursor, const QString &text, const QTextCharFormat &format) const;

private:
    struct Mark;
    QString text_;
    std::vector<Mark> marks_;
};

// The selection's text without its notes' marks, as other programs are given it.
QString withoutNoteMarks(const QTextCursor &selection);
