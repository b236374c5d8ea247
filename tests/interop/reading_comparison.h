#pragma once
// How a document is shown, paragraph by paragraph, as two readers of the same
// file see it; and the tally of where they agree. One side comes from Velmo's
// reading, the other from LibreOffice's flat ODF text of the same file.
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace census {

enum class ShownAlignment { Left, Right, Centre, Justify };

struct ShownParagraph {
    QString text; // white space collapsed; body paragraphs and table cells, empty ones left out
    bool listItem = false; // shows a label
    bool numbered = false; // else bulleted
    int level = 0;         // 1 for a list's outermost level
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    ShownAlignment alignment = ShownAlignment::Left;
};

struct ShownDocument {
    QList<ShownParagraph> paragraphs;
    int pictures = 0; // in the body, table cells included
};

// LibreOffice's flat ODF text as shown; nothing, with `error` set, when it is not an ODF text.
std::optional<ShownDocument> readShownDocument(const QByteArray &fodt, QString *error = nullptr);

enum class Criterion {
    Paired,     // LibreOffice's paragraphs found in Velmo's by their text
    ListItemFound,
    NoListItemAdded,
    ListKind,
    ListLevel,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    SpaceBefore,
    SpaceAfter,
    Alignment,
    Pictures,   // LibreOffice's pictures, Velmo showing at least as many in the file
};
inline constexpr int CriterionCount = int(Criterion::Pictures) + 1;

QString criterionName(Criterion criterion);
// One line: its list, lengths in twips, alignment and the start of its text.
QString describe(const ShownParagraph &paragraph);

// Lengths closer than this agree: what neither reader rounds away.
inline constexpr int TwipsTolerance = 20;

struct ReadingTally {
    std::array<int, CriterionCount> compared{};
    std::array<int, CriterionCount> agreeing{};
    std::array<QStringList, CriterionCount> disagreements; // one line each, for the details
};

// Pairs `office`'s paragraphs with `velmo`'s in order by their text and counts
// each criterion on the pairs into `tally`.
void compareReading(const ShownDocument &office, const ShownDocument &velmo, ReadingTally &tally);

} // namespace census
