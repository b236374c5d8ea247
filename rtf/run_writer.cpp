// Runs: each format's words worked out once, fields' and links' groups opened and closed as the
// runs that share them go by, and the words of a run's character format.
#include "model/text_properties.h"
#include "rtf/field_instruction.h"
#include "rtf/font_naming.h"
#include "rtf/writer.h"
#include <QTextBlock>
#include <QTextDocument>
#include <cmath>
#include <utility>

namespace rtf {

// Runs that share a link target are written as the result of one HYPERLINK field; runs that
// share a field's number as the result of that field.
void Writer::switchField(const RunLook *look)
{
    static const QString none;
    const QString &href = look ? look->href : none;
    const int field = look ? look->field : 0;
    if (href == m_openLink && field == m_openField)
        return;
    if (!m_openLink.isEmpty() || m_openField)
        raw("}}");
    if (!href.isEmpty() || field) {
        raw("{\\field{\\*\\fldinst ");
        text(field ? look->instruction : hyperlinkInstruction(href));
        raw("}{\\fldrslt ");
    }
    m_openLink = href;
    m_openField = field;
}

const Writer::RunLook &Writer::runLook(const QTextFragment &fragment)
{
    const std::pair key(m_text, fragment.charFormatIndex() * 2 + int(m_paragraphStyled));
    if (const auto found = m_runLooks.constFind(key); found != m_runLooks.cend())
        return *found;
    const QTextCharFormat format = fragment.charFormat();
    RunLook look;
    look.anchors = format.property(model::AnchorsProperty).toStringList();
    look.href = format.isAnchor() ? format.anchorHref() : QString();
    look.field = look.href.isEmpty() ? format.intProperty(model::FieldNumberProperty) : 0;
    if (look.field)
        look.instruction = format.stringProperty(model::FieldInstructionProperty);
    look.hiddenBefore = format.stringProperty(model::HiddenBeforeProperty);
    look.hiddenAfter = format.stringProperty(model::HiddenAfterProperty);
    look.noteMark = format.objectType() == model::NoteMarkObject;
    look.image = format.isImageFormat();
    if (!look.noteMark && !look.image) {
        const bool label = format.boolProperty(model::ListLabelProperty);
        std::string body = std::exchange(m_out, std::string(label ? "{\\listtext{" : "{"));
        characterProperties(format);
        raw(" ");
        look.open = std::exchange(m_out, std::move(body));
        look.close = label ? "}}" : "}";
    }
    return *m_runLooks.insert(key, std::move(look));
}

void Writer::fragment(const QTextFragment &fragment)
{
    const RunLook &look = runLook(fragment);
    switchField(&look);
    if (!look.anchors.isEmpty())
        anchors(look.anchors);
    m_previousAnchors = look.anchors;
    if (look.noteMark) {
        const QTextCharFormat format = fragment.charFormat();
        for (qsizetype i = 0; i < fragment.length(); ++i)
            noteMark(format);
        return;
    }
    const QString content = fragment.text();
    if (look.image) {
        const QTextImageFormat format = fragment.charFormat().toImageFormat();
        const QByteArray shape = format.property(model::KeptShapeProperty).toByteArray();
        for (QChar c : content) {
            if (c == QChar::ObjectReplacementCharacter && !shape.isEmpty())
                raw(std::string_view(shape.constData(), size_t(shape.size())));
            else if (c == QChar::ObjectReplacementCharacter)
                picture(format);
        }
        return;
    }
    raw(look.open);
    text(content);
    raw(look.close);
}

// A run in a paragraph or run style says what it turns off too, over the style's words.
void Writer::characterProperties(const QTextCharFormat &format)
{
    const bool explicitOff = styled(format);
    if (format.hasProperty(model::CharacterStyleProperty))
        word("cs", format.intProperty(model::CharacterStyleProperty));
    word("f", m_tables.fontIndex(familyOf(format, m_defaultFamily)));
    const qreal points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPointSize;
    word("fs", std::llround(points * 2));
    const auto flag = [this, explicitOff](bool on, std::string_view onWord, std::string_view offWord) {
        if (on)
            raw(onWord);
        else if (explicitOff)
            raw(offWord);
    };
    const int foreground = colorIndex(format.foreground());
    if (foreground || explicitOff)
        word("cf", foreground);
    const int background = colorIndex(format.background());
    if (background || explicitOff)
        word("highlight", background);
    flag(format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold, "\\b", "\\b0");
    flag(format.fontItalic(), "\\i", "\\i0");
    flag(format.fontUnderline(), "\\ul", "\\ulnone");
    flag(format.fontStrikeOut(), "\\strike", "\\strike0");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        raw("\\super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        raw("\\sub");
    else if (explicitOff)
        raw("\\nosupersub");
    if (const long long raise = std::llround(format.baselineOffset() * points * 2 / 100); raise > 0)
        word("up", raise);
    else if (raise < 0)
        word("dn", -raise);
    kept(format.property(model::KeptCharacterWordsProperty));
}

} // namespace rtf
