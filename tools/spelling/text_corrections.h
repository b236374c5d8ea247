#pragma once
#include <QString>
#include <vector>

class QTextDocument;

// Replace `removed` characters at `position` of the old text with `inserted`.
struct TextCorrection
{
    int position = 0;
    int removed = 0;
    QString inserted;
    // Old-text position whose character format the inserted text takes; -1: the format at `position`.
    int formatFrom = -1;

    bool operator==(const TextCorrection &) const = default;
};

// The few edits that turn `before` into `after`: words are compared first, then each changed
// stretch is trimmed to the characters that differ. Ordered by position, not overlapping.
std::vector<TextCorrection> correctionsBetween(const QString &before, const QString &after);

// Makes the document's plain text `corrected` by editing only what differs, as one undo step,
// so unchanged text keeps its formatting, paragraphs their alignment and pictures stay.
// Returns whether anything changed.
bool applyCorrectedText(QTextDocument &document, const QString &corrected);
