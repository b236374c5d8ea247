#pragma once
#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QTextOption>
#include <Qt>

namespace rtf {

inline constexpr double TwipsPerPixel = 15.0; // at 96 pixels per inch
inline constexpr int MaxTwips = 31680;        // 22 inches

// Where the text of a group goes.
enum class Destination : quint8 { Text, Skip, FontTable, ColorTable, Picture, Hidden, FontAlternative,
                                  FieldInstruction, Capture };

// Character properties: pushed at '{', popped at '}', reset by \plain.
struct CharState
{
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int foreground = 0;
    int highlight = 0;
    int background = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    quint8 vertical = 0; // 1 superscript, 2 subscript
    int raise = 0;       // \up (above 0) or \dn (below), half-points
    int link = 0;        // 1-based index of the run's link target
    int field = 0;       // 1-based index of the instruction of the field whose result this is
    int style = -1;      // \csN
    bool hidden = false;
    bool listLabel = false;
    QByteArray kept;     // words kept for writing back, see KeptCharacterWordsProperty
    bool operator==(const CharState &) const = default;
};

// Packed into three words: cheaper than hashing the ten fields one by one.
inline size_t qHash(const CharState &s, size_t seed = 0)
{
    const auto pair = [](int high, int low) { return quint64(quint32(high)) << 32 | quint32(low); };
    const quint64 flags = quint64(s.bold) | quint64(s.italic) << 1 | quint64(s.underline) << 2
                          | quint64(s.strike) << 3 | quint64(s.vertical) << 4
                          | quint64(quint32(s.link) & 0xFFFFFF) << 8
                          | quint64(quint32(s.background)) << 32;
    const quint64 parts = quint64(s.hidden) | quint64(s.listLabel) << 1 | quint64(quint32(s.style) & 0xFFFF) << 2
                          | quint64(quint32(s.field)) << 32;
    return qHashMulti(seed, pair(s.font, s.halfPoints), pair(s.foreground, s.highlight), flags, parts,
                      s.kept);
}

// Paragraph properties: pushed and popped like the character ones, reset by \pard.
// What a paragraph's words give its look, the same whether the group holds it or a paragraph
// has taken it.
struct ParagraphLook
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    int lineSpacing = 0; // \sl, twips
    bool lineMultiple = false;
    bool rightToLeft = false;
    QList<QTextOption::Tab> tabs;
    QString tabLeaders; // one per tab, see TabLeadersProperty
    int style = -1, list = -1, listLevel = -1; // \sN, \lsN, \ilvlN
    QByteArray kept; // words kept for writing back, see KeptParagraphWordsProperty
    bool operator==(const ParagraphLook &) const = default;
};

struct ParaState : ParagraphLook
{
    QTextOption::TabType nextTabType = QTextOption::LeftTab;
    char16_t nextTabLeader = u' ';
    bool inTable = false;
    int tableLevel = -1; // \itap: 0 no table, 1 the outer table, 2 a table in its cell; -1 unset
    bool operator==(const ParaState &) const = default;
};

struct Group
{
    CharState chars;
    ParaState para;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
    bool ignorable = false;       // after \*: an unknown destination skips the group
    bool shapePicture = false;    // this group is a \shppict
    int picturesBeforeShape = -1; // inside \shp: pictures inserted before it began
    qsizetype start = 0;          // where its '{' is in the bytes read
};

} // namespace rtf
