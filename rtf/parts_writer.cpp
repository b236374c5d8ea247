// The parts of a document written around its text: the setup and the destinations kept from
// the file it came from, each section's setup with its headers and footers, notes and comments
// where their marks stand, and bookmarks and comment ranges where their anchors are.
#include "model/document_parts.h"
#include "model/text_properties.h"
#include "rtf/kept_words.h"
#include "rtf/writer.h"
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <utility>

namespace rtf {

void Writer::collectParts()
{
    if (!m_parts)
        return;
    for (const model::Section &section : m_parts->sections) {
        for (const auto &[kind, text] : section.headers) {
            if (text)
                m_tables.collectText(*text, m_defaultFamily);
        }
    }
    for (const model::Note &note : m_parts->notes) {
        if (note.text)
            m_tables.collectText(*note.text, m_defaultFamily);
    }
}

std::string Writer::documentHead()
{
    m_out.clear();
    m_lineStart = 0;
    if (m_parts) {
        for (const model::KeptGroup &group : m_parts->groups) {
            kept(group.bytes);
            raw("\n");
        }
        if (!m_parts->documentWords.isEmpty()) {
            kept(m_parts->documentWords);
            raw("\n");
        }
    }
    std::string head = std::move(m_out);
    m_out.clear();
    return head;
}

// Kept words name fonts and colours by the numbers of the file they were read from.
void Writer::kept(const QVariant &words)
{
    if (!words.isValid())
        return;
    const QByteArray bytes = words.toByteArray();
    if (bytes.isEmpty())
        return;
    TableNumbers numbers;
    numbers.font = [this](int number) {
        if (!m_parts)
            return 0;
        const auto found = m_parts->sourceFonts.find(number);
        return found == m_parts->sourceFonts.end() ? 0 : m_tables.fontNamed(found->second);
    };
    numbers.color = [this](int index) {
        if (!m_parts || index <= 0 || size_t(index) >= m_parts->sourceColors.size())
            return 0;
        return m_tables.colorFor(m_parts->sourceColors[size_t(index)]);
    };
    const QByteArray out = renumbered(bytes, numbers);
    raw(std::string_view(out.constData(), size_t(out.size())));
}

void Writer::sectionStart(int section)
{
    m_section = section;
    if (!m_parts || size_t(section) >= m_parts->sections.size())
        return;
    const model::Section &setup = m_parts->sections[size_t(section)];
    raw("\\sectd");
    kept(setup.words);
    raw("\n");
    for (const auto &[kind, text] : setup.headers) {
        if (!text)
            continue;
        raw("{\\");
        raw(model::rtfWord(kind));
        raw(" ");
        subDocument(*text);
        raw("}\n");
    }
    m_lineStart = m_out.size();
}

void Writer::subDocument(const QTextDocument &text)
{
    const QTextDocument *outer = std::exchange(m_text, &text);
    const int section = m_section;
    const bool styledParagraph = m_paragraphStyled;
    const QString link = std::exchange(m_openLink, QString());
    const int field = std::exchange(m_openField, 0);
    const QStringList anchorsBefore = std::exchange(m_previousAnchors, {});
    frameContents(text.rootFrame(), 0);
    m_previousAnchors = anchorsBefore;
    m_text = outer;
    m_section = section;
    m_paragraphStyled = styledParagraph;
    m_openLink = link;
    m_openField = field;
}

// A footnote writes its mark and its text apart, so that the text does not take the mark's
// superscript; a note's own mark inside its text is written as a mark of the note's kind.
void Writer::noteMark(const QTextCharFormat &format)
{
    if (format.boolProperty(model::NoteOwnMarkProperty)) {
        raw("{");
        characterProperties(format);
        raw(m_inComment ? "\\chatn}" : "\\chftn}");
        return;
    }
    const model::Note *note = m_parts ? m_parts->note(format.intProperty(model::NoteIdProperty)) : nullptr;
    if (!note)
        return;
    raw("{");
    characterProperties(format);
    const bool comment = note->kind == model::Note::Kind::Comment;
    if (comment) {
        raw("{\\*\\atnid ");
        text(note->initials);
        raw("}{\\*\\atnauthor ");
        text(note->author);
        raw("}\\chatn}{\\*\\annotation");
        kept(note->keptGroups); // the note's text starts with \\pard: no space, which would be text
    } else {
        raw(note->numbered ? "\\chftn}" : "}");
        raw(note->kind == model::Note::Kind::Endnote ? "{\\footnote\\ftnalt " : "{\\footnote ");
    }
    if (note->text) {
        const bool outer = std::exchange(m_inComment, comment);
        subDocument(*note->text);
        m_inComment = outer;
    }
    raw("}");
    m_lineStart = m_out.size();
}

void Writer::anchors(const QStringList &names)
{
    for (const QString &name : names) {
        const qsizetype colon = name.indexOf(u':');
        if (colon < 0)
            continue;
        // A run formatted in part stays one run with the anchors on each piece; the same name
        // elsewhere is an anchor of its own (files do repeat bookmarks' names).
        if (m_previousAnchors.contains(name))
            continue;
        const QStringView kind = QStringView(name).left(colon);
        if (kind == u"field" || kind == u"group") {
            kept(QStringView(name).mid(colon + 1).toLatin1());
            continue;
        }
        const char *destination = kind == u"bookmark-start" ? "bkmkstart"
                                  : kind == u"bookmark-end"  ? "bkmkend"
                                  : kind == u"comment-start" ? "atrfstart"
                                                             : "atrfend";
        raw("{\\*\\");
        raw(destination);
        raw(" ");
        text(QStringView(name).mid(colon + 1));
        raw("}");
    }
}

bool Writer::styled(const QTextCharFormat &format) const
{
    return m_paragraphStyled || format.hasProperty(model::CharacterStyleProperty);
}

// For readers without lists, each list paragraph starts with its label as text.
void Writer::listLabel(const QTextList &list, const QTextBlock &block)
{
    const QTextListFormat format = list.format();
    QString label;
    if (format.hasProperty(model::ListLevelTextProperty)) {
        const int id = format.intProperty(model::ListProperty);
        const int level = std::clamp(format.intProperty(model::ListLevelProperty), 0, model::ListLevels - 1);
        const int start = format.hasProperty(model::ListStartProperty) ? format.intProperty(model::ListStartProperty) : 1;
        model::ListCounters &counters = m_listCounters[id];
        counters.numbers[size_t(level)] = start + m_listItems[model::firstChunk(list)]++;
        counters.styles[size_t(level)] = format.intProperty(model::ListNumberStyleProperty);
        label = model::listLabel(format.stringProperty(model::ListLevelTextProperty), counters);
    } else {
        label = list.itemText(block);
    }
    raw(format.hasProperty(model::ListProperty) ? "{\\listtext" : "{\\pntext");
    characterProperties(block.charFormat());
    raw(" ");
    text(label);
    raw("\\tab}");
}

// A text box goes back as the file's shape, with the box's paragraphs as its text.
void Writer::textBox(const QTextTable &table, const QStringList &shape)
{
    kept(shape.at(0).toLatin1());
    raw("{\\shptxt ");
    cellContents(table.cellAt(0, 0), 0);
    raw("}");
    kept(shape.at(1).toLatin1());
    raw("\n");
    m_lineStart = m_out.size();
}

} // namespace rtf
