#pragma once
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QObject>
#include <QString>
#include <map>
#include <vector>

class QTextDocument;

namespace model {

// The headers and footers a section may have, in the order files write them.
enum class HeaderKind { Header, HeaderLeft, HeaderRight, HeaderFirst, Footer, FooterLeft, FooterRight, FooterFirst };
const char *rtfWord(HeaderKind kind); // "header", "headerl", ...
bool isFooter(HeaderKind kind);

struct Section
{
    QByteArray words; // its setup as the file gave it after \sectd: "\pgwsxn15840\lndscpsxn\sbkpage"
    std::map<HeaderKind, QTextDocument *> headers;
};

struct Note
{
    enum class Kind { Footnote, Endnote, Comment };
    Kind kind = Kind::Footnote;
    QTextDocument *text = nullptr;
    bool numbered = true;   // its mark is its number; otherwise the text before the mark is its mark
    QString initials;       // a comment's
    QString author;         // a comment's
    QByteArray keptGroups;  // a comment's date and reference as the file wrote them
};

// A destination the reader does not model, kept as the file wrote it and written back in its
// place: the style sheet, list tables, themes, default formats and the like.
struct KeptGroup
{
    QByteArray name;  // "stylesheet", "listtable", ...
    QByteArray bytes; // the whole group, braces included
};

// What a document holds beside its text: page and document setup, sections with their headers
// and footers, notes and comments, and the destinations kept for writing back. It is a child of
// the QTextDocument it belongs to, so it moves between threads and goes away with it; the
// documents it holds (headers, notes) are its children.
class DocumentParts : public QObject
{
    Q_OBJECT

public:
    // The parts of `document`, or null when it has none (a document made in Velmo).
    static DocumentParts *find(const QTextDocument &document);
    static DocumentParts &of(QTextDocument &document);
    static void remove(QTextDocument &document);
    // Gives `target` a copy of `source`'s parts (none when it has none).
    static void copy(const QTextDocument &source, QTextDocument &target);

    // A new empty document owned by these parts, in `like`'s default font.
    QTextDocument *newText(const QTextDocument &like);

    QByteArray documentWords; // \paperw, \margl, \deftab, \facingp... as read
    std::vector<KeptGroup> groups;
    std::vector<Section> sections;
    QHash<int, Note> notes;
    QHash<QString, QString> info; // "title", "author", ... as shown
    // The file's own font and colour tables: kept words and groups name fonts and colours by
    // these numbers, which the writer maps to the tables it writes.
    std::map<int, QString> sourceFonts;
    std::vector<QColor> sourceColors; // invalid for the automatic colour

    int addNote(const Note &note);
    const Note *note(int id) const;

private:
    explicit DocumentParts(QTextDocument &owner);
    int nextNote_ = 1;
};

// The value of `word` in a run of RTF words ("\paperw12240\margl1800"), or `absent`; a word given
// without a number reads as 1.
int wordValue(const QByteArray &words, const char *word, int absent);

} // namespace model
