// Drawing shapes (\shp): simple ones are drawn into a picture shown where they are anchored and
// written back as the file gave them; a text box's text is shown in a bordered box of its own.
#include "rtf/shapes.h"
#include "model/text_properties.h"
#include "rtf/reader.h"
#include "rtf/tokenizer.h"
#include <QPainter>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <algorithm>

namespace rtf {
namespace {

constexpr int MaxShapeSide = 2000; // pixels
constexpr int MaxProperties = 256;
constexpr int EmuPerPixel = 9525;

// Shape colours are 0x00BBGGRR.
QColor shapeColor(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// The length of the group that opens at `start`, to its matching brace or the end.
qsizetype groupLength(QByteArrayView bytes, qsizetype start)
{
    int depth = 0;
    for (qsizetype i = start; i < bytes.size(); ++i) {
        if (bytes[i] == '\\')
            ++i;
        else if (bytes[i] == '{')
            ++depth;
        else if (bytes[i] == '}' && --depth == 0)
            return i + 1 - start;
    }
    return bytes.size() - start;
}

} // namespace

int ShapeDescription::number(const QByteArray &name, int otherwise) const
{
    bool ok = false;
    const int value = properties.value(name).trimmed().toInt(&ok);
    return ok ? value : otherwise;
}

ShapeDescription describeShape(QByteArrayView group)
{
    ShapeDescription shape;
    Tokenizer tokenizer(group);
    enum class Into { Nothing, Name, Value } into = Into::Nothing;
    int depth = 0, intoDepth = 0;
    QByteArray name, value;
    for (;;) {
        const Tokenizer::Token token = tokenizer.next();
        if (token.kind == Tokenizer::Kind::End || token.kind == Tokenizer::Kind::Error)
            break;
        if (token.kind == Tokenizer::Kind::GroupStart) {
            ++depth;
        } else if (token.kind == Tokenizer::Kind::GroupEnd) {
            if (into != Into::Nothing && depth == intoDepth) {
                if (into == Into::Value && shape.properties.size() < MaxProperties)
                    shape.properties.insert(name.trimmed(), value);
                into = Into::Nothing;
            }
            --depth;
        } else if (token.kind == Tokenizer::Kind::Text && into != Into::Nothing && depth == intoDepth) {
            (into == Into::Name ? name : value).append(token.text.first(std::min<qsizetype>(token.text.size(), 64)));
        } else if (token.kind == Tokenizer::Kind::Word) {
            const QByteArrayView word = token.text;
            if (word == "bin") {
                tokenizer.takeBinary(token.param);
            } else if (word == "sn" || word == "sv") {
                into = word == "sn" ? Into::Name : Into::Value;
                intoDepth = depth;
                (into == Into::Name ? name : value).clear();
            } else if (word == "shptxt") {
                shape.hasText = true;
            } else if (word == "pict") {
                shape.hasPicture = true;
            } else if (word == "shpleft") {
                shape.left = token.param;
            } else if (word == "shptop") {
                shape.top = token.param;
            } else if (word == "shpright") {
                shape.right = token.param;
            } else if (word == "shpbottom") {
                shape.bottom = token.param;
            }
        }
    }
    shape.type = shape.number("shapeType", 0);
    return shape;
}

bool isDrawnShape(const ShapeDescription &shape)
{
    const bool simple = shape.type == 1 || shape.type == 2 || shape.type == 3 || shape.type == 20;
    return simple && !shape.hasText && !shape.hasPicture;
}

QImage drawShape(const ShapeDescription &shape)
{
    const auto side = [](int twips) { return std::clamp(int(std::lround(std::abs(twips) / TwipsPerPixel)), 1, MaxShapeSide); };
    const QSize size(side(shape.right - shape.left), side(shape.bottom - shape.top));
    const bool line = shape.type == 20;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = std::clamp(shape.number("lineWidth", 9525) / qreal(EmuPerPixel), 0.5, 50.0);
    if (shape.number("fLine", 1))
        painter.setPen(QPen(shapeColor(shape.number("lineColor", 0)), width));
    else
        painter.setPen(Qt::NoPen);
    if (!line && shape.number("fFilled", 1))
        painter.setBrush(shapeColor(shape.number("fillColor", 0xFFFFFF)));
    const qreal inset = painter.pen().style() == Qt::NoPen ? 0 : width / 2;
    const QRectF box = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(inset, inset, -inset, -inset);
    switch (shape.type) {
    case 1: painter.drawRect(box); break;
    case 2: {
        // The corner's radius is a share of the shorter side: a sixth unless adjustValue says.
        const qreal share = std::clamp(shape.number("adjustValue", 3600), 0, 10800) / 21600.0;
        const qreal radius = share * std::min(box.width(), box.height());
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case 3: painter.drawEllipse(box); break;
    default: {
        const bool flipH = shape.number("fFlipH", 0), flipV = shape.number("fFlipV", 0);
        painter.drawLine(QPointF(flipH ? box.right() : box.left(), flipV ? box.bottom() : box.top()),
                         QPointF(flipH ? box.left() : box.right(), flipV ? box.top() : box.bottom()));
        break;
    }
    }
    return image;
}

// ---- in the reader

// At \shp: a shape Velmo draws is put in as a picture that keeps the whole group for writing.
bool Reader::insertDrawnShape()
{
    const QByteArrayView group = wholeGroup();
    m_shapeStart = group.data() - m_unread.data();
    m_shapeEnd = m_shapeStart + group.size();
    const ShapeDescription shape = describeShape(group);
    m_shapeWidth = std::clamp(shape.right - shape.left, 0, MaxTwips);
    if (!isDrawnShape(shape) || group.size() > (1 << 20))
        return false;
    const QImage image = drawShape(shape);
    const QString name = QStringLiteral("rtf-shape-%1.png").arg(++m_shapesDrawn);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    format.setProperty(model::KeptShapeProperty, group.toByteArray());
    syncTable();
    materializeBlock();
    flushRun();
    m_cursor.insertImage(format);
    ++m_picturesInserted;
    ++m_bodyCharacters;
    return true;
}

// At \shptxt: the text goes into a one-cell bordered table put where the shape is anchored, and
// the reading goes on after it when the group ends.
void Reader::beginTextBox()
{
    if (!m_tables.empty() || m_textBox) {
        group().destination = Destination::Text; // inside a table the text stays in the cell
        return;
    }
    syncTable();
    materializeBlock();
    flushRun();
    joinEmptyBlockBeforeTable(); // a box at a paragraph's start goes before the paragraph
    QTextTableFormat format;
    format.setBorder(0); // the cell draws the border, as a table read from a file does
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(4);
    if (m_shapeWidth > 0)
        format.setWidth(QTextLength(QTextLength::FixedLength, m_shapeWidth / TwipsPerPixel));
    m_textBox = m_cursor.insertTable(1, 1, format);
    QTextTableCellFormat cell;
    const QBrush black(Qt::black);
    cell.setBorder(1);
    cell.setBorderBrush(black);
    cell.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    m_textBox->cellAt(0, 0).setFormat(cell);
    keepShapeAroundText(format);
    m_textBoxDepth = m_groups.size();
    m_appliedLook.reset();
    group().destination = Destination::Text;
    ++m_picturesInserted; // the shape's result repeats the text
}

// The shape's group before its text and after it, less its result (which repeats the text as it
// was), so the box is written back as the file's shape with the text it has then.
void Reader::keepShapeAroundText(QTextTableFormat format)
{
    const qsizetype textStart = group().start;
    const qsizetype textEnd = std::min(m_tokenizer->groupEnd() + 1, m_unread.size());
    if (m_nested || textStart < m_shapeStart || textEnd > m_shapeEnd || m_shapeEnd - m_shapeStart > (1 << 20))
        return;
    QByteArray after = m_unread.sliced(textEnd, m_shapeEnd - textEnd).toByteArray();
    if (const qsizetype result = after.indexOf("{\\shprslt"); result >= 0)
        after.remove(result, groupLength(after, result));
    const QByteArray before = m_unread.sliced(m_shapeStart, textStart - m_shapeStart).toByteArray();
    format.setProperty(model::KeptShapeTextProperty, QStringList{QString::fromLatin1(before), QString::fromLatin1(after)});
    m_textBox->setFormat(format);
}

void Reader::endTextBox()
{
    flushRun();
    applyBlockLookWithAnchors();
    m_cursor = m_textBox->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_textBox = nullptr;
    m_textBoxDepth = 0;
    m_blockPending = false; // the paragraph after the box goes on where it was anchored
    m_appliedLook.reset();
}

} // namespace rtf
