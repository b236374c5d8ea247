// Fields: {\field{\*\fldinst ...}{\fldrslt ...}}. The instruction is not
// shown; the result, the text the field last showed, is read as body text,
// as a link when the instruction is a HYPERLINK, else carrying its instruction.
#include "rtf/field_instruction.h"
#include "rtf/reader.h"
#include <algorithm>
#include <utility>

namespace rtf {
namespace {

constexpr qsizetype MaxInstruction = 4096;
constexpr int MaxLinks = 1 << 20;

} // namespace

void Reader::fieldDestinationWord(Command command)
{
    Group &g = group();
    // A field inside an instruction is part of that instruction.
    if (g.destination == Destination::FieldInstruction)
        return;
    switch (command) {
    case Command::FieldInstruction:
        g.destination = Destination::FieldInstruction;
        m_fieldInstruction.clear();
        break;
    case Command::FieldResult: {
        g.destination = Destination::Text;
        const QString href = hyperlinkTarget(m_fieldInstruction);
        const QString instruction = std::exchange(m_fieldInstruction, QString());
        if (!href.isEmpty())
            g.chars.link = linkIndex(href);
        else if (!instruction.trimmed().isEmpty() && m_fieldInstructions.size() < MaxLinks) {
            m_fieldInstructions.append(instruction.trimmed());
            g.chars.field = int(m_fieldInstructions.size());
        }
        break;
    }
    default: break;
    }
}

void Reader::fieldInstructionText(QByteArrayView bytes)
{
    if (m_fieldInstruction.size() < MaxInstruction)
        m_decoder.append(bytes.first(std::min(bytes.size(), MaxInstruction)), m_documentCodePage,
                         m_fieldInstruction);
}

// A field whose result is empty has no text to carry its instruction: it is kept whole, as an
// anchor before what follows it.
void Reader::beginField()
{
    if (group().destination == Destination::Text && m_openFields.size() < 64)
        m_openFields.push_back({m_groups.size(), m_bodyCharacters});
}

void Reader::endField()
{
    const OpenField field = m_openFields.back();
    m_openFields.pop_back();
    if (field.characters != m_bodyCharacters)
        return;
    if (showMacroButton())
        return;
    // The group has just closed: it runs from its '{' to where the reading is.
    const qsizetype start = std::clamp<qsizetype>(group().start, 0, m_tokenizer->offset());
    addAnchor(QStringLiteral("field:") + QString::fromLatin1(m_unread.sliced(start, m_tokenizer->offset() - start)));
}

// A MACROBUTTON field without a result shows the text after the macro's name, as word
// processors show it; that text is written back as the field's result.
bool Reader::showMacroButton()
{
    const QString instruction = std::exchange(m_fieldInstruction, QString()).simplified();
    if (!instruction.startsWith(QLatin1String("MACROBUTTON "), Qt::CaseInsensitive)
        || m_fieldInstructions.size() >= MaxLinks)
        return false;
    const QString shown = instruction.section(u' ', 2);
    if (shown.isEmpty())
        return false;
    flushRun();
    m_fieldInstructions.append(instruction);
    CharState state = group().chars;
    state.field = int(m_fieldInstructions.size());
    materializeBlock();
    m_cursor.insertText(shown, charFormat(state));
    m_bodyCharacters += shown.size();
    return true;
}

int Reader::linkIndex(const QString &href)
{
    if (const auto found = m_linkIndex.constFind(href); found != m_linkIndex.constEnd())
        return *found;
    if (m_links.size() >= MaxLinks)
        return 0;
    m_links.append(href);
    m_linkIndex.insert(href, int(m_links.size()));
    return int(m_links.size());
}

} // namespace rtf
