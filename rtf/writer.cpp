#include "rtf/paragraph_spacing.h"
#include "rtf/pictures.h"
#include "rtf/rtf.h"
#include "rtf/table_writer.h"
#include "rtf/writer.h"
#include "rtf/written_tables.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace rtf {
namespace {

constexpr std::ptrdiff_t LineWidth = 78;

} // namespace

Writer::Writer(const QTextDocument &document)
    : m_document(document), m_text(&document), m_parts(model::DocumentParts::find(document))
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0)
        m_defaultPointSize = font.pointSizeF();
}

QByteArray Writer::run()
{
    m_tables.collect(m_document, m_defaultFamily);
    collectParts();
    const std::string head = documentHead();
    m_out.clear();
    m_out.reserve(std::size_t(m_document.characterCount()) * 2 + 1024);
    m_lineStart = 0;
    sectionStart(0);
    frameContents(m_document.rootFrame(), 0);
    raw("}\n");
    const std::string body = std::move(m_out);
    const std::string start = tables();
    QByteArray bytes;
    bytes.reserve(qsizetype(start.size() + head.size() + body.size()));
    bytes.append(start.data(), qsizetype(start.size()));
    bytes.append(head.data(), qsizetype(head.size()));
    bytes.append(body.data(), qsizetype(body.size()));
    return bytes;
}

std::string Writer::tables()
{
    m_out.clear();
    m_lineStart = 0;
    raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    const QList<WrittenTables::Font> &fonts = m_tables.fonts();
    for (int i = 0; i < fonts.size(); ++i) {
        raw("{");
        word("f", i);
        const WrittenTables::Font &font = fonts.at(i);
        raw(font.family);
        raw("\\fcharset0 ");
        text(QString(font.name).remove(u';'));
        if (!font.alternative.isEmpty()) {
            raw("{\\*\\falt ");
            text(QString(font.alternative).remove(u';'));
            raw("}");
        }
        raw(";}");
        breakLineIfLong();
    }
    raw("}\n{\\colortbl;");
    for (QRgb rgb : m_tables.colors()) {
        word("red", qRed(rgb));
        word("green", qGreen(rgb));
        word("blue", qBlue(rgb));
        raw(";");
        breakLineIfLong();
    }
    raw("}\n");
    std::string start = std::move(m_out);
    m_out.clear();
    return start;
}

// Qt keeps a block in front of a table, even of one that starts the document or a cell; that
// block, left empty, is not the file's and is not written.
static bool onlyHoldsPlaceOfTable(const QTextBlock &block, bool firstInFrame, QTextFrame *next)
{
    return firstInFrame && block.length() == 1 && qobject_cast<QTextTable *>(next)
        && !block.blockFormat().hasProperty(model::BlockEndAnchorsProperty);
}

void Writer::frameContents(QTextFrame *frame, int depth)
{
    bool first = true;
    for (auto it = frame->begin(); !it.atEnd();) {
        QTextFrame *child = it.currentFrame();
        const QTextBlock current = it.currentBlock();
        ++it;
        if (child) {
            if (auto *childTable = qobject_cast<QTextTable *>(child))
                table(childTable, depth + 1);
            else
                frameContents(child, depth); // other frames keep their text
            continue;
        }
        if (onlyHoldsPlaceOfTable(current, std::exchange(first, false), it.atEnd() ? nullptr : it.currentFrame()))
            continue;
        block(current, depth);
        if (!it.atEnd())
            separator(current, depth);
        m_lineStart = m_out.size();
    }
}

// A paragraph that ends a section ends with \sect, and the next section's setup follows. An
// empty one ends with \par first: a \sect straight after a paragraph's end ends no other.
void Writer::separator(const QTextBlock &current, int depth)
{
    const QTextBlock next = current.next(); // a table's first cell when a table follows
    const int section = depth == 0 && next.isValid() && m_text == &m_document
                            ? next.blockFormat().intProperty(model::SectionProperty)
                            : m_section;
    if (section <= m_section || !m_parts) {
        raw("\\par\n");
        return;
    }
    raw(current.length() == 1 ? "\\par\\sect\n" : "\\sect\n");
    sectionStart(section);
}

// The outer table's rows carry their definition in front; a table inside a
// cell, as other writers do, after its cells in \nesttableprops.
void Writer::table(QTextTable *table, int depth)
{
    const QStringList shape = table->format().property(model::KeptShapeTextProperty).toStringList();
    if (shape.size() == 2 && table->rows() == 1 && table->columns() == 1)
        return textBox(*table, shape);
    const auto colors = [this](const QBrush &brush) { return colorIndex(brush); };
    const bool nested = depth > 1;
    for (int row = 0; row < table->rows(); ++row) {
        const std::string definition = rowDefinition(*table, row, colors);
        if (!nested) {
            raw(definition);
            raw("\n");
        }
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            if (cell.row() == row && cell.column() == column)
                cellContents(cell, depth);
            else
                block(QTextBlock(), depth);
            raw(nested ? "\\nestcell\n" : "\\cell\n");
            m_lineStart = m_out.size();
        }
        if (nested) {
            raw("{\\*\\nesttableprops");
            raw(definition);
            raw("\\nestrow}{\\nonesttables\\par}\n");
        } else {
            raw(definition);
            raw("\\row\n");
        }
        m_lineStart = m_out.size();
    }
}

void Writer::cellContents(const QTextTableCell &cell, int depth)
{
    for (auto it = cell.begin(); !it.atEnd();) {
        QTextFrame *child = it.currentFrame();
        const QTextBlock current = it.currentBlock();
        ++it;
        if (child) {
            if (auto *childTable = qobject_cast<QTextTable *>(child))
                table(childTable, depth + 1);
            else
                frameContents(child, depth);
            continue;
        }
        block(current, depth);
        if (!it.atEnd()) {
            raw("\\par\n");
            m_lineStart = m_out.size();
        }
    }
}

void Writer::block(const QTextBlock &block, int depth)
{
    raw("\\pard");
    if (depth > 0)
        raw("\\intbl");
    if (depth > 1)
        word("itap", depth);
    if (!block.isValid()) {
        raw(" ");
        return; // a cell merged into another: no text of its own
    }
    paragraphProperties(block.blockFormat(), block.textList());
    if (!m_out.ends_with('}')) // after a kept group a space would be text
        raw(" ");
    if (const QTextList *list = block.textList())
        listLabel(*list, block);
    m_previousAnchors.clear();
    blockText(block);
    switchField(nullptr);
    m_previousAnchors.clear();
    const QVariant endAnchors = block.blockFormat().property(model::BlockEndAnchorsProperty);
    if (endAnchors.isValid())
        anchors(endAnchors.toStringList());
}

// A paragraph that names a style says every value it writes, zero included, so that reading
// it back does not take the style's value instead.
// A list paragraph names its list by its list's format; one naming a list the file did not have
// keeps the name it had.
void Writer::paragraphProperties(const QTextBlockFormat &format, const QTextList *list)
{
    m_paragraphStyled = format.hasProperty(model::ParagraphStyleProperty);
    if (m_paragraphStyled)
        word("s", format.intProperty(model::ParagraphStyleProperty));
    const QTextFormat &naming = list && !format.hasProperty(model::ListProperty)
                                    ? static_cast<const QTextFormat &>(list->format())
                                    : format;
    if (naming.hasProperty(model::ListProperty))
        word("ls", naming.intProperty(model::ListProperty));
    if (naming.hasProperty(model::ListLevelProperty))
        word("ilvl", naming.intProperty(model::ListLevelProperty));
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        raw("\\qc");
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        raw("\\qr");
    else if (alignment & Qt::AlignJustify)
        raw("\\qj");
    else if (m_paragraphStyled)
        raw("\\ql");
    const auto indent = [this](std::string_view name, qreal pixels) {
        const long long value = twips(pixels);
        if (value || m_paragraphStyled)
            word(name, value);
    };
    indent("li", format.leftMargin());
    indent("ri", format.rightMargin());
    if (format.layoutDirection() == Qt::RightToLeft) {
        // Readers that take the indents as the paragraph's start and end read these last.
        raw("\\rtlpar");
        word("lin", twips(format.rightMargin()));
        word("rin", twips(format.leftMargin()));
    }
    indent("fi", format.textIndent());
    indent("sb", format.topMargin());
    indent("sa", format.bottomMargin());
    const std::string spacing = lineSpacingWords(format);
    raw(spacing.empty() && m_paragraphStyled ? std::string("\\sl0\\slmult0") : spacing);
    raw(tabStopWords(format));
    kept(format.property(model::KeptParagraphWordsProperty));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        raw("\\page");
}

const EncodedPicture *Writer::pictureFor(const QTextImageFormat &format)
{
    const QString name = format.name();
    // Each document names its own pictures: a header's may share a name with the body's.
    const QString key = m_text == &m_document ? name : QString::number(quintptr(m_text), 16) + u':' + name;
    if (const auto found = m_pictures.constFind(key); found != m_pictures.constEnd())
        return found->bytes.isEmpty() ? nullptr : &*found;
    EncodedPicture picture;
    const QVariant resource = m_text->resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (format.hasProperty(PictureEncodingProperty)) {
        const QVariant original =
            m_text->resource(QTextDocument::ImageResource, originalPictureUrl(name));
        if (original.userType() == QMetaType::QByteArray) {
            picture.bytes = original.toByteArray();
            picture.kind = pictureKind(picture.bytes);
            const QByteArray encoding = format.property(PictureEncodingProperty).toString().toLatin1();
            if (picture.kind.isEmpty() && isMetafileOrBitmap(encoding)) {
                picture.kind = encoding;
                picture.alternative = encodePicture(image).bytes;
            }
            const QSize source = format.property(PictureSourceSizeProperty).toSize();
            picture.pixels = source.isValid() ? source : image.size();
        }
    }
    if (picture.kind.isEmpty() && !image.isNull())
        picture = encodePicture(image);
    if (picture.kind.isEmpty())
        picture = EncodedPicture{};
    const auto inserted = m_pictures.insert(key, picture);
    return inserted->bytes.isEmpty() ? nullptr : &*inserted;
}

void Writer::picture(const QTextImageFormat &format)
{
    const EncodedPicture *picture = pictureFor(format);
    if (!picture)
        return;
    qreal width = format.width() > 0 ? format.width() : picture->pixels.width();
    qreal height = format.height() > 0 ? format.height() : picture->pixels.height();
    if (format.width() > 0 && format.height() <= 0 && picture->pixels.width() > 0)
        height = width * picture->pixels.height() / picture->pixels.width();
    if (format.height() > 0 && format.width() <= 0 && picture->pixels.height() > 0)
        width = height * picture->pixels.width() / picture->pixels.height();
    appendPictureGroups(m_out, *picture, QSizeF(width, height));
    m_lineStart = m_out.size();
}

void Writer::text(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (std::ptrdiff_t(m_out.size() - m_lineStart) >= LineWidth)
            breakLineIfLong();
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (c == '\\' || c == '{' || c == '}')
                m_out.push_back('\\');
            m_out.push_back(char(c));
            continue;
        }
        switch (c) {
        case u'\t': raw("\\tab "); continue;
        case 0x2028: case 0x2029: raw("\\line "); continue;
        case 0x00A0: raw("\\~"); continue;
        case 0x00AD: raw("\\-"); continue;
        case 0x2011: raw("\\_"); continue;
        case 0xFFFC: continue; // an object with nothing to write
        default: break;
        }
        if (c < 0x20)
            continue; // control characters, NUL among them, have no place in a document
        word("u", c > 0x7FFF ? int(c) - 0x10000 : int(c));
        m_out.push_back('?');
    }
}

void Writer::word(std::string_view name)
{
    m_out.push_back('\\');
    m_out.append(name);
}

void Writer::word(std::string_view name, long long parameter)
{
    word(name);
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, parameter);
    m_out.append(buffer, result.ptr);
}

void Writer::breakLineIfLong()
{
    if (std::ptrdiff_t(m_out.size() - m_lineStart) < LineWidth)
        return;
    m_out.push_back('\n');
    m_lineStart = m_out.size();
}

QByteArray write(const QTextDocument &document)
{
    return Writer(document).run();
}

} // namespace rtf
