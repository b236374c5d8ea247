#include "tools/spelling/text_corrections.h"
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString applied(QString text, const std::vector<TextCorrection> &corrections)
{
    for (auto c = corrections.rbegin(); c != corrections.rend(); ++c)
        text.replace(c->position, c->removed, c->inserted);
    return text;
}

struct Pair
{
    const char *name;
    const char *before;
    const char *after;
    int mostEdited; // characters removed plus inserted
};

class CorrectionsTest : public ::testing::TestWithParam<Pair>
{
};

TEST_P(CorrectionsTest, TurnTheOldTextIntoTheNewWithFewOrderedEdits)
{
    const QString before = QString::fromUtf8(GetParam().before), after = QString::fromUtf8(GetParam().after);
    const auto corrections = correctionsBetween(before, after);
    EXPECT_EQ(applied(before, corrections), after);
    int edited = 0;
    for (size_t i = 0; i < corrections.size(); ++i) {
        edited += corrections[i].removed + int(corrections[i].inserted.size());
        if (i > 0) {
            EXPECT_GE(corrections[i].position, corrections[i - 1].position + corrections[i - 1].removed);
        }
    }
    EXPECT_LE(edited, GetParam().mostEdited);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CorrectionsTest,
    ::testing::Values(Pair{"identical", "Same words.", "Same words.", 0},
                      Pair{"one word", "I saw teh cat", "I saw the cat", 4},
                      Pair{"two words far apart", "Helo there, this is a long line that is fine, wrld", "Hello there, this is a long line that is fine, world", 2},
                      Pair{"a word split in two", "alot of it", "a lot of it", 1},
                      Pair{"a word deleted", "the the end", "the end", 4},
                      Pair{"paragraphs kept", "Frist\nSecnd\n\nLast", "First\nSecond\n\nLast", 5},
                      Pair{"picture kept", "Helo \xef\xbf\xbc wrld", "Hello \xef\xbf\xbc world", 2},
                      Pair{"from nothing", "", "abc", 3},
                      Pair{"to nothing", "abc def", "", 7},
                      Pair{"accented", "caf\xc3\xa9 cr\xc3\xa8me", "cafe cr\xc3\xa8me", 2},
                      Pair{"inside a word after shared letters", "colour colours", "colour colors", 1},
                      Pair{"a word joins its neighbour", "on ce more", "once more", 1},
                      Pair{"shared letters across the change", "abcab abcab", "abcab abab", 1},
                      Pair{"at the very start", "Teh end of it", "The end of it", 4},
                      Pair{"at the very end", "the end of itt", "the end of it", 1},
                      Pair{"only punctuation", "end, of it", "end; of it", 2}),
    [](const auto &info) { return QString::fromUtf8(info.param.name).replace(QLatin1Char(' '), QLatin1Char('_')).toStdString(); });

// Random single-character edits inside long texts: only the differing stretch is compared.
TEST(CorrectionsRandomTest, CharacterEditsInLongTextsRebuildTheNewTextWithFewEdits)
{
    QRandomGenerator random(11);
    const QString letters = QStringLiteral("ab c'\n");
    for (int round = 0; round < 300; ++round) {
        QString before;
        for (int i = 100 + int(random.bounded(200)); i > 0; --i)
            before += letters[random.bounded(letters.size())];
        QString after = before;
        const int at = int(random.bounded(after.size()));
        switch (random.bounded(3)) {
        case 0: after.remove(at, 1); break;
        case 1: after.insert(at, letters[random.bounded(letters.size())]); break;
        default: after[at] = letters[random.bounded(letters.size())];
        }
        const auto corrections = correctionsBetween(before, after);
        ASSERT_EQ(applied(before, corrections), after) << before.toStdString() << " -> " << after.toStdString();
        int edited = 0;
        for (const TextCorrection &c : corrections)
            edited += c.removed + int(c.inserted.size());
        EXPECT_LE(edited, 2);
    }
}

// Random word edits of a random text: whatever the diff finds must rebuild the new text exactly.
TEST(CorrectionsRandomTest, AlwaysRebuildTheNewText)
{
    QRandomGenerator random(6);
    const QStringList words{"a", "the", "teh", "wrod", "word", ",", ".", "\n", "\xef\xbf\xbc", "colour", "color", "  "};
    for (int round = 0; round < 200; ++round) {
        QStringList before;
        for (int i = int(random.bounded(40)); i > 0; --i)
            before << words[random.bounded(words.size())];
        QStringList after = before;
        for (int i = int(random.bounded(6)); i > 0 && !after.isEmpty(); --i)
            after[random.bounded(after.size())] = words[random.bounded(words.size())];
        const QString a = before.join(QLatin1Char(' ')), b = after.join(QLatin1Char(' '));
        ASSERT_EQ(applied(a, correctionsBetween(a, b)), b) << a.toStdString() << " -> " << b.toStdString();
    }
}

TEST(FormattedCorrectionTest, WordsKeepTheirFormatParagraphsTheirAlignmentPicturesStayInOneUndoStep)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("Helo world\nsay ello"));
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCursor c(&document);
    for (int from : {0, 15}) {
        c.setPosition(from);
        c.setPosition(from + 4, QTextCursor::KeepAnchor);
        c.mergeCharFormat(bold);
    }
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setPosition(0);
    c.setBlockFormat(centred);
    c.setPosition(5);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("velmo-picture:test"));
    c.insertImage(picture);
    const QString before = document.toPlainText();
    QSignalSpy changed(&document, &QTextDocument::contentsChanged);

    EXPECT_FALSE(applyCorrectedText(document, QString(before).replace(QLatin1Char('\n'), QLatin1Char('\r'))));
    EXPECT_EQ(changed.count(), 0);
    EXPECT_TRUE(applyCorrectedText(document, QStringLiteral("Hello \xfffcworld\rsay hello")));
    EXPECT_EQ(changed.count(), 1);

    EXPECT_EQ(document.toPlainText(), QStringLiteral("Hello \xfffcworld\nsay hello"));
    const auto charAt = [&](int position) {
        c.setPosition(position + 1);
        return c.charFormat();
    };
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(charAt(i).fontWeight(), QFont::Bold) << "at " << i;
    EXPECT_NE(charAt(7).fontWeight(), QFont::Bold);
    EXPECT_EQ(charAt(6).toImageFormat().name(), QStringLiteral("velmo-picture:test"));
    EXPECT_EQ(charAt(17).fontWeight(), QFont::Bold) << "a letter added at a word's start takes the word's format";
    EXPECT_NE(charAt(16).fontWeight(), QFont::Bold);
    EXPECT_EQ(document.blockCount(), 2);
    EXPECT_EQ(document.firstBlock().blockFormat().alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    document.undo();
    EXPECT_EQ(document.toPlainText(), before);
}

} // namespace
