#include "rtf/field_instruction.h"
#include "rtf/font_naming.h"
#include "rtf/paragraph_spacing.h"
#include "rtf/pictures.h"
#include "rtf/rtf.h"
#include "rtf/table_writer.h"
#include "rtf/written_tables.h"
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace rtf {
namespace {

constexpr double TwipsPerPixel = 15.0; // at 96 pixels per inch
constexpr std::ptrdiff_t LineWidth = 78;

using Picture = EncodedPicture;

class Writer
{
public:
    explicit Writer(const QTextDocument &document);
    QByteArray run();

private:
    int colorIndex(const QBrush &brush) const { return m_tables.colorIndex(brush); }
    void header();
    void frameContents(QTextFrame *frame, int depth);
    void table(QTextTable *table, int depth);
    void cellContents(const QTextTableCell &cell, int depth);
    void block(const QTextBlock &block, int depth);
    void fragment(const QTextFragment &fragment);
    void switchLink(QString &open, const QString &href);
    void characterProperties(const QTextCharFormat &format);
    void picture(const QTextImageFormat &format);
    const Picture *pictureFor(const QTextImageFormat &format);
    void text(QStringView text);
    void word(std::string_view word);
    void word(std::string_view word, long long parameter);
    void raw(std::string_view bytes) { m_out.append(bytes); }
    void breakLineIfLong();
    static long long twips(qreal pixels) { return std::llround(pixels * TwipsPerPixel); }

    const QTextDocument &m_document;
    std::string m_out;
    std::size_t m_lineStart = 0;
    QString m_defaultFamily;
    qreal m_defaultPointSize = 12;
    WrittenTables m_tables;
    QHash<QString, Picture> m_pictures;
};

Writer::Writer(const QTextDocument &document) : m_document(document)
{
    const QFont font = document.defaultFont();
    m_defaultFamily = font.family();
    if (font.pointSizeF() > 0)
        m_defaultPointSize = font.pointSizeF();
}

QByteArray Writer::run()
{
    m_out.reserve(std::size_t(m_document.characterCount()) * 2 + 1024);
    m_tables.collect(m_document, m_defaultFamily);
    header();
    frameContents(m_document.rootFrame(), 0);
    raw("}\n");
    return QByteArray(m_out.data(), qsizetype(m_out.size()));
}

void Writer::header()
{
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
    m_lineStart = m_out.size();
}

void Writer::frameContents(QTextFrame *frame, int depth)
{
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
        block(current, depth);
        if (!it.atEnd())
            raw("\\par\n");
        m_lineStart = m_out.size();
    }
}

// The outer table's rows carry their definition in front; a table inside a
// cell, as other writers do, after its cells in \nesttableprops.
void Writer::table(QTextTable *table, int depth)
{
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
    const QTextBlockFormat format = block.blockFormat();
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        raw("\\qc");
    else if (alignment & (Qt::AlignRight | Qt::AlignTrailing))
        raw("\\qr");
    else if (alignment & Qt::AlignJustify)
        raw("\\qj");
    const auto indent = [this](std::string_view name, qreal pixels) {
        if (const long long value = twips(pixels))
            word(name, value);
    };
    indent("li", format.leftMargin());
    indent("ri", format.rightMargin());
    indent("fi", format.textIndent());
    indent("sb", format.topMargin());
    indent("sa", format.bottomMargin());
    raw(lineSpacingWords(format));
    raw(tabStopWords(format));
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        raw("\\page");
    raw(" ");
    QString link;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        switchLink(link, format.isAnchor() ? format.anchorHref() : QString());
        fragment(it.fragment());
    }
    switchLink(link, QString());
}

// Runs that share a link target are written as the result of one HYPERLINK field.
void Writer::switchLink(QString &open, const QString &href)
{
    if (href == open)
        return;
    if (!open.isEmpty())
        raw("}}");
    if (!href.isEmpty()) {
        raw("{\\field{\\*\\fldinst ");
        text(hyperlinkInstruction(href));
        raw("}{\\fldrslt ");
    }
    open = href;
}

void Writer::fragment(const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    const QString content = fragment.text();
    if (format.isImageFormat()) {
        for (QChar c : content) {
            if (c == QChar::ObjectReplacementCharacter)
                picture(format.toImageFormat());
        }
        return;
    }
    raw("{");
    characterProperties(format);
    raw(" ");
    text(content);
    raw("}");
}

void Writer::characterProperties(const QTextCharFormat &format)
{
    word("f", m_tables.fontIndex(familyOf(format, m_defaultFamily)));
    const qreal points = format.fontPointSize() > 0 ? format.fontPointSize() : m_defaultPointSize;
    word("fs", std::llround(points * 2));
    if (const int color = colorIndex(format.foreground()))
        word("cf", color);
    if (const int color = colorIndex(format.background()))
        word("highlight", color);
    if (format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() >= QFont::DemiBold)
        raw("\\b");
    if (format.fontItalic())
        raw("\\i");
    if (format.fontUnderline())
        raw("\\ul");
    if (format.fontStrikeOut())
        raw("\\strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        raw("\\super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        raw("\\sub");
}

const Picture *Writer::pictureFor(const QTextImageFormat &format)
{
    const QString name = format.name();
    if (const auto found = m_pictures.constFind(name); found != m_pictures.constEnd())
        return found->bytes.isEmpty() ? nullptr : &*found;
    Picture picture;
    const QVariant resource = m_document.resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (format.hasProperty(PictureEncodingProperty)) {
        const QVariant original =
            m_document.resource(QTextDocument::ImageResource, originalPictureUrl(name));
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
        picture = Picture{};
    const auto inserted = m_pictures.insert(name, picture);
    return inserted->bytes.isEmpty() ? nullptr : &*inserted;
}

void Writer::picture(const QTextImageFormat &format)
{
    const Picture *picture = pictureFor(format);
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

} // namespace

QByteArray write(const QTextDocument &document)
{
    return Writer(document).run();
}

} // namespace rtf
