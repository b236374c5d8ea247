#pragma once
// What LibreOffice finds in a document: the parts a word processor keeps
// besides the body text, counted from the flat ODF text (.fodt) LibreOffice
// writes for it. Two censuses compare part by part, so a re-saved file can be
// judged against the file it came from.
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace census {

// One page style the body uses, in twips. Margins are those of the text
// area: a header or footer inside the page margin counts as margin.
struct PageSetup {
    int width = 0;
    int height = 0;
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    bool landscape = false; // wider than high
};

struct DocumentCensus {
    QMap<QString, int> headers; // by kind: "default", "first", "left"
    QMap<QString, int> footers;
    int footnotes = 0;
    int endnotes = 0;
    int comments = 0;
    QList<PageSetup> pages; // each page style in the order the body starts it
    int sections = 0;       // page-style starts plus sections of the body
    QMap<QString, int> listParagraphs; // "level 1 numbered" -> paragraphs
    QSet<QString> bookmarks;
    QSet<QString> paragraphStyles; // named styles body paragraphs use, the default one left out
    QSet<QString> characterStyles;
    QString title;
    QString author;
    int pictures = 0; // in the body and in headers and footers
    int tableCells = 0;
    QStringList fields; // kinds, sorted: "page-number", "hyperlink", ...
    QString hiddenText;
    QStringList paragraphs; // body text, notes and comments left out; empty paragraphs too
};

// Reads LibreOffice's flat ODF text. Returns nothing and sets `error` when
// the XML is not well formed or is not a text document.
std::optional<DocumentCensus> readCensus(const QByteArray &fodt, QString *error = nullptr);
std::optional<DocumentCensus> readCensusFile(const QString &path, QString *error = nullptr);

enum class Part {
    Headers,
    Footers,
    Footnotes,
    Endnotes,
    Comments,
    PageSize,
    Margins,
    Orientation,
    Sections,
    Lists,
    Bookmarks,
    ParagraphStyles,
    CharacterStyles,
    Title,
    Author,
    Pictures,
    TableCells,
    Fields,
    HiddenText,
    BodyText,
};
inline constexpr int PartCount = int(Part::BodyText) + 1;

QString partName(Part part);

struct PartVerdict {
    Part part = Part::BodyText;
    bool present = false; // the original has this part, so its keeping can be judged
    bool kept = false;    // the copy has it as the original does
    QString detail;       // what each side has, where they differ
};

// Every part of `original` judged against `copy`, in the order of Part.
QList<PartVerdict> compare(const DocumentCensus &original, const DocumentCensus &copy);

} // namespace census
