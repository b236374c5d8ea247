// What a document holds beside its body (setup, sections, headers and footers, notes and
// comments, styles, lists, bookmarks, fields, kept words and destinations) is read into the
// model, written back, and read again to the same.
#include "model/document_parts.h"
#include "model/list_labels.h"
#include "model/text_properties.h"
#include "rtf_test_support.h"
#include <QTextBlock>
#include <QTextList>
#include <QTextDocument>

namespace {

using rtftest::withHeader;

QString plain(const QTextDocument *text)
{
    return text ? text->toPlainText().replace(QChar::ObjectReplacementCharacter, u'#') : QStringLiteral("-");
}

QString runsWith(const QTextDocument &document)
{
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat para = block.blockFormat();
        if (para.hasProperty(model::SectionProperty))
            out += QStringLiteral("[section %1]").arg(para.intProperty(model::SectionProperty));
        if (para.hasProperty(model::ParagraphStyleProperty))
            out += QStringLiteral("[s%1 sb=%2]").arg(para.intProperty(model::ParagraphStyleProperty)).arg(para.topMargin());
        const QTextFormat naming = block.textList() && !para.hasProperty(model::ListProperty)
                                       ? QTextFormat(block.textList()->format()) : QTextFormat(para);
        if (naming.hasProperty(model::ListProperty))
            out += QStringLiteral("[ls%1.%2]").arg(naming.intProperty(model::ListProperty)).arg(naming.intProperty(model::ListLevelProperty));
        if (block.textList())
            out += QStringLiteral("[label %1]").arg(model::listLabelOf(block));
        if (para.hasProperty(model::KeptParagraphWordsProperty))
            out += u'[' + para.property(model::KeptParagraphWordsProperty).toString() + u']';
        for (const QString &anchor : para.property(model::BlockEndAnchorsProperty).toStringList())
            out += QStringLiteral("[end %1]").arg(anchor);
        if (para.hasProperty(model::HiddenParagraphTextProperty))
            out += QStringLiteral("[v:%1]").arg(para.stringProperty(model::HiddenParagraphTextProperty));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            for (const QString &anchor : chars.property(model::AnchorsProperty).toStringList())
                out += QStringLiteral("<%1>").arg(anchor);
            QString tags;
            if (chars.boolProperty(model::ListLabelProperty)) tags += QStringLiteral(" label");
            if (chars.fontItalic()) tags += QStringLiteral(" i");
            if (chars.hasProperty(model::CharacterStyleProperty))
                tags += QStringLiteral(" cs%1").arg(chars.intProperty(model::CharacterStyleProperty));
            if (chars.hasProperty(model::FieldInstructionProperty))
                tags += QStringLiteral(" field=") + chars.stringProperty(model::FieldInstructionProperty);
            if (chars.hasProperty(model::KeptCharacterWordsProperty))
                tags += u' ' + chars.property(model::KeptCharacterWordsProperty).toString();
            const QString text = chars.objectType() == model::NoteMarkObject ? QStringLiteral("#") : it.fragment().text();
            if (chars.hasProperty(model::HiddenBeforeProperty))
                out += QStringLiteral("<v:%1>").arg(chars.stringProperty(model::HiddenBeforeProperty));
            out += tags.isEmpty() ? text : QStringLiteral("{%1%2}").arg(text, tags);
            if (chars.hasProperty(model::HiddenAfterProperty))
                out += QStringLiteral("<v:%1>").arg(chars.stringProperty(model::HiddenAfterProperty));
        }
        out += u'|';
    }
    return out;
}

// Everything the model and the text's properties hold, one line each.
QString partsDump(const QTextDocument &document)
{
    QStringList lines{QStringLiteral("body: ") + runsWith(document)};
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts)
        return lines.join(u'\n');
    if (!parts->documentWords.isEmpty())
        lines << QStringLiteral("document: ") + QString::fromLatin1(parts->documentWords);
    for (const model::KeptGroup &group : parts->groups)
        lines << QStringLiteral("kept: ") + QString::fromLatin1(group.bytes);
    for (auto it = parts->info.cbegin(); it != parts->info.cend(); ++it)
        lines << QStringLiteral("info %1: %2").arg(it.key(), it.value());
    for (size_t i = 0; i < parts->sections.size(); ++i) {
        lines << QStringLiteral("section %1: %2").arg(i).arg(QString::fromLatin1(parts->sections[i].words));
        for (const auto &[kind, text] : parts->sections[i].headers)
            lines << QStringLiteral("  %1: %2").arg(QLatin1String(model::rtfWord(kind)), plain(text));
    }
    QList<int> ids = parts->notes.keys();
    std::sort(ids.begin(), ids.end());
    for (int id : ids) {
        const model::Note &note = parts->notes[id];
        const char *kinds[] = {"footnote", "endnote", "comment"};
        lines << QStringLiteral("%1%2 %3 %4: %5 %6")
                     .arg(QLatin1String(kinds[int(note.kind)]), note.numbered ? QString() : QStringLiteral(" (own mark)"),
                          note.initials, note.author, plain(note.text), QString::fromLatin1(note.keptGroups));
    }
    return lines.join(u'\n');
}

QString readParts(const QByteArray &rtf)
{
    QTextDocument document;
    QString reason;
    if (!rtf::read(rtf, document, &reason))
        return QStringLiteral("failed: ") + reason;
    return partsDump(document);
}

QString roundTrip(const QByteArray &rtf)
{
    QTextDocument document;
    rtf::read(rtf, document);
    return readParts(rtf::write(document));
}

struct Case
{
    const char *name;
    QByteArray rtf;
    QStringList expected; // lines or parts of lines of the dump
};

const Case cases[] = {
    {"HeadersAndFootersOfEveryKindAreReadIntoDocumentsOfTheirOwn",
     withHeader("\\sectd\\titlepg{\\header \\pard\\qr Running head\\par}{\\headerf \\pard First head\\par}"
                "{\\footer \\pard Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par}{\\footerl Left foot}"
                "\\pard Body\\par"),
     {"section 0: \\titlepg", "  header: Running head", "  headerf: First head", "  footer: Page 1",
      "  footerl: Left foot", "body: Body|"}},
    {"FootnotesAndEndnotesLeaveAMarkWhereTheyStand",
     withHeader("\\pard One{\\super\\chftn}{\\footnote \\pard{\\super\\chftn} First note.} two"
                "{\\super\\chftn}{\\footnote\\ftnalt \\pard{\\super\\chftn} An end note.} three*{\\footnote Own mark.}\\par"),
     {"body: One# two# three*#|", "footnote  : # First note.", "endnote  : # An end note.",
      "footnote (own mark)  : Own mark."}},
    {"CommentsKeepInitialsAuthorAndTheirRange",
     withHeader("\\pard Look {\\*\\atrfstart 7}here{\\*\\atrfend 7}{\\*\\atnid JW}{\\*\\atnauthor Jane Writer}\\chatn"
                "{\\*\\annotation{\\*\\atnref 7}{\\*\\atndate 1234}\\pard Check this.}\\par"),
     {"body: Look <comment-start:7>here<comment-end:7>#|",
      "comment JW Jane Writer: Check this. {\\*\\atnref 7}{\\*\\atndate 1234}"}},
    {"DocumentSetupAndSectionsAreKeptAsWritten",
     withHeader("\\paperw12240\\paperh15840\\margl1800\\facingp\\deftab720\\sectd\\pgwsxn12240\\sbkpage"
                "\\pard One\\par{\\sect\\sectd\\lndscpsxn\\pgwsxn15840\\pghsxn12240}\\pard Two\\par"
                "\\sect\\sectd\\sbknone\\pard\\par\\sect\\sectd\\pgnrestart\\trowd\\cellx2000\\pard\\intbl Cell\\cell\\row\\pard After\\par"),
     {"document: \\paperw12240\\paperh15840\\margl1800\\facingp\\deftab720", "section 0: \\pgwsxn12240\\sbkpage",
      "section 1: \\lndscpsxn\\pgwsxn15840\\pghsxn12240", "body: One|[section 1]Two|[section 2]|[section 3]Cell|"}},
    {"InfoAndUnknownDestinationsBeforeTheBodyAreKeptInPlace",
     withHeader("{\\*\\generator Some Writer 1.0;}{\\info{\\title A Title}{\\author Jane}{\\creatim\\yr2024}}"
                "{\\*\\themedata 0102}\\pard Body\\par"),
     {"kept: {\\*\\generator Some Writer 1.0;}", "kept: {\\info{\\title A Title}{\\author Jane}{\\creatim\\yr2024}}",
      "kept: {\\*\\themedata 0102}", "info title: A Title", "info author: Jane"}},
    {"StylesGiveWhatTheParagraphOrRunDoesNotOverride",
     withHeader("{\\stylesheet{\\s0 Normal;}{\\s1\\sb240\\keepn\\sbasedon0 heading 1;}{\\*\\cs15 \\additive\\i Emphasis;}}"
                "\\pard\\s1 Styled\\par\\pard\\s1\\sb0 Overridden\\par\\pard\\s0 A {\\cs15 stressed} word\\par"),
     {"body: [s1 sb=16][\\keepn]Styled|[s1 sb=0][\\keepn]Overridden|[s0 sb=0]A {stressed i cs15} word|"}},
    {"ListParagraphsJoinListsThatNumberThemAndWriteTheirLabels",
     withHeader("{\\*\\listtable{\\list\\listid5{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"
                "{\\listlevel\\levelnfc4{\\leveltext\\'04\\'00.\\'01);}}}"
                "{\\list\\listid7{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}}}"
                "{\\list\\listid8{\\listlevel\\levelnfc255{\\leveltext\\'01\\'00;}}}}"
                "{\\*\\listoverridetable{\\listoverride\\listid5\\ls1}{\\listoverride\\listid7\\ls2}"
                "{\\listoverride\\listid5\\ls3}{\\listoverride\\listid5\\listoverridecount1{\\lfolevel\\listoverridestartat\\levelstartat7}\\ls4}{\\listoverride\\listid8\\ls5}}"
                "{\\listtext\\pard\\plain 1.\\tab}\\pard\\ls1\\ilvl0\\fi-360\\li720 One\\par"
                "\\pard\\ls1\\ilvl1\\li1440 Under\\par\\pard\\ls1\\ilvl0\\li720 Two\\par"
                "\\pard\\ls1\\ilvl1\\li1440 Again under\\par\\pard\\ls2 Dot\\par"
                "{\\pntext III.\\tab}\\pard{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3{\\pntxta .}}Old style\\par"
                "\\pard\\ls9 No such list\\par\\pard\\ls3 Counts on\\par\\pard\\ls4 Starts anew\\par\\pard\\ls5 Heading\\par"),
     {"body: [ls1.0][label 1.][\\fi-360]One|[ls1.1][label 1.a)]Under|[ls1.0][label 2.]Two|"
      "[ls1.1][label 2.a)]Again under|[ls2.0][label \u2022]Dot|",
      "[label III.][{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart3{\\pntxta .}}]Old style|[ls9.0]No such list|[ls3.0][label 3.]Counts on|[ls4.0][label 7.]Starts anew|[ls5.0][label ]Heading|",
      "kept: {\\*\\listtable{\\list\\listid5{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}"}},
    {"BookmarksFieldsHiddenTextAndKeptWordsStayOnTheirText",
     withHeader("\\pard\\keepn\\pagebb A {\\*\\bkmkstart b1}marked{\\*\\bkmkend b1} {\\v hidden} "
                "{\\field{\\*\\fldinst DATE \\\\@ \"d MMMM\"}{\\fldrslt 5 May}} {\\caps\\lang1031 Wort}{\\*\\bkmkstart b2}\\par"
                "\\pard {\\*\\bkmkstart b1}Same name again{\\*\\bkmkend b1}\\par"),
     {"body: [\\keepn\\pagebb][end bookmark-start:b2]A <bookmark-start:b1>marked<bookmark-end:b1> <v:hidden> "
      "{5 May field=DATE \\@ \"d MMMM\"} {Wort \\caps\\lang1031}|[end bookmark-end:b1]<bookmark-start:b1>Same name again|"}},
    {"HiddenTextIsKeptOffTheTextInItsPlace",
     withHeader("\\pard One {\\v secret }two{\\v  end}\\par\\pard {\\v only hidden}\\par\\pard\\v x\\v0 y\\par"),
     {"body: One <v:secret >two<v: end>|[v:only hidden]|<v:x>y|"}},
    {"RunsKeepTheirDirectionAndALaterLeftToRightUndoesIt",
     withHeader("\\pard {\\rtlch\\af1 abc}{\\rtlch\\af1\\ltrch def}\\par"),
     {"body: {abc \\rtlch}def|"}},
    {"EmptyFieldsAndIndexEntriesAreKeptWholeWhereTheyStood",
     withHeader("\\pard Before{\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt }}after\\par"
                "\\pard {\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt }}again{\\xe {\\v Entry}}{\\tc Head}.\\par"
                "\\pard {\\field{\\*\\fldinst MACROBUTTON  None Enter your text}}\\par"),
     {"body: Before<field:{\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt }}>after|"
      "<field:{\\field{\\*\\fldinst TOC \\\\o}{\\fldrslt }}>again<group:{\\xe {\\v Entry}}><group:{\\tc Head}>.|"
      "{Enter your text field=MACROBUTTON None Enter your text}|"}},
};

class Parts : public testing::TestWithParam<Case>
{
};

TEST_P(Parts, AreReadAndSurviveAWriteAndARead)
{
    const Case &c = GetParam();
    const QString read = readParts(c.rtf);
    for (const QString &line : c.expected)
        EXPECT_TRUE(read.contains(line)) << "missing: " << line.toStdString() << "\nin:\n" << read.toStdString();
    EXPECT_EQ(roundTrip(c.rtf), read);
}

INSTANTIATE_TEST_SUITE_P(Rtf, Parts, testing::ValuesIn(cases),
                         [](const testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

TEST(PartsWriting, KeptWordsFollowTheColourTableTheyAreWrittenWith)
{
    const QByteArray rtf = withHeader("\\pard\\cbpat3 Shaded\\par");
    QTextDocument document;
    rtf::read(rtf, document);
    const QByteArray written = rtf::write(document);
    // Green is the only colour the written file needs, so it is its first entry.
    EXPECT_TRUE(written.contains("\\red0\\green128\\blue0;")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\cbpat1")) << written.toStdString();
}

TEST(PartsWriting, ADocumentMadeHereWritesNoPartsAtAll)
{
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("Plain words"));
    const QByteArray first = rtf::write(document);
    QTextDocument again;
    rtf::read(first, again);
    EXPECT_EQ(rtf::write(again), first);
    for (const char *word : {"\\sectd", "\\s0", "\\stylesheet", "\\info"})
        EXPECT_FALSE(first.contains(word)) << word;
}

TEST(PartsWriting, DeletingANoteMarkDeletesTheNoteAndUndoBringsItBack)
{
    QTextDocument document;
    rtf::read(withHeader("\\pard A{\\super\\chftn}{\\footnote \\pard Gone.}B\\par"), document);
    QTextCursor cursor(&document);
    cursor.setPosition(1);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EXPECT_FALSE(rtf::write(document).contains("Gone."));
    document.undo();
    EXPECT_TRUE(rtf::write(document).contains("{\\footnote \\pard {")) << rtf::write(document).toStdString();
}

TEST(PartsWriting, ALongListCountsOnAcrossTheChunksItIsReadIn)
{
    QByteArray rtf = withHeader("{\\*\\listtable{\\list\\listid1{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}}}"
                                "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}");
    rtf.chop(1);
    for (int i = 1; i <= 600; ++i)
        rtf += "\\pard\\ls1 Item " + QByteArray::number(i) + "\\par";
    rtf += '}';
    QTextDocument document;
    rtf::read(rtf, document);
    const auto labelOf = [&document](int item) { return model::listLabelOf(document.findBlockByNumber(item - 1)); };
    EXPECT_EQ(labelOf(600), "600.");
    QTextCursor second(document.findBlockByNumber(1));
    second.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    second.removeSelectedText();
    EXPECT_EQ(labelOf(599), "599.");
    EXPECT_TRUE(rtf::write(document).contains("599.\\tab}")) << "the written labels follow";
}

TEST(PartsWriting, ATextBoxIsWrittenBackAsItsShapeWithTheTextItHasThen)
{
    const QByteArray rtf = withHeader("\\pard Before\\par\\pard {\\shp{\\*\\shpinst\\shpleft0\\shpright2000{\\sp{\\sn shapeType}"
                                      "{\\sv 202}}{\\shptxt \\pard Boxed\\par}}{\\shprslt Boxed}}After\\par");
    QTextDocument document;
    rtf::read(rtf, document);
    QTextCursor(document.find(QStringLiteral("Boxed"))).insertText(QStringLiteral("Edited "));
    const QByteArray written = rtf::write(document);
    EXPECT_TRUE(written.contains("{\\sp{\\sn shapeType}{\\sv 202}}{\\shptxt ")) << written.toStdString();
    EXPECT_FALSE(written.contains("\\trowd")) << "not as a table";
    EXPECT_FALSE(written.contains("shprslt")) << "no stale result";
    QTextDocument again;
    rtf::read(written, again);
    EXPECT_EQ(again.toPlainText(), document.toPlainText());
}

TEST(PartsLimits, NotesPastTheLimitKeepNoTextAndDeepNotesStop)
{
    rtf::ReadLimits limits;
    limits.maxPartDocuments = 3;
    QByteArray body;
    for (int i = 0; i < 10; ++i)
        body += "N{\\super\\chftn}{\\footnote \\pard Note.}";
    QByteArray deep = "\\pard Deep";
    for (int i = 0; i < 200; ++i)
        deep += "{\\footnote \\pard x";
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader("\\pard " + body + "\\par" + deep), document, limits));
    EXPECT_EQ(model::DocumentParts::find(document)->notes.size(), 3);
    EXPECT_TRUE(document.toPlainText().startsWith(QStringLiteral("N#N#N#NNNNNNN").replace(u'#', QChar::ObjectReplacementCharacter)));
}

// A header's last paragraph keeps what ends with it: a page count whose result was empty is
// printed and written back.
TEST(HeaderParagraphEnd, KeepsAFieldWithAnEmptyResult)
{
    QTextDocument document;
    ASSERT_TRUE(rtf::read(withHeader("{\\header \\pard Of {\\field{\\*\\fldinst NUMPAGES}{\\fldrslt }}\\par}"
                                     "\\pard Body\\par"),
                          document));
    const QByteArray written = rtf::write(document);
    const qsizetype header = written.indexOf("{\\header"), field = written.indexOf("\\fldinst NUMPAGES");
    EXPECT_GE(header, 0);
    EXPECT_GT(field, header);
    EXPECT_LT(field, written.indexOf("Body"));
}

} // namespace
