#include "layout/page_headers.h"
#include "layout/page_flow.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace {

using model::HeaderKind;

// A date picture as files write it ("dddd, MMMM d, yyyy", "h:mm am/pm") in Qt's words.
QString datePicture(const QString &instruction)
{
    const auto match = QRegularExpression(QStringLiteral("\\\\@\\s*\"([^\"]*)\"")).match(instruction);
    if (!match.hasMatch())
        return QString();
    QString picture = match.captured(1);
    picture.replace(QStringLiteral("am/pm"), QStringLiteral("ap"), Qt::CaseInsensitive);
    return picture;
}

const QTextDocument *ownOrEarlier(const model::DocumentParts &parts, int section, HeaderKind kind)
{
    for (int at = qMin(section, int(parts.sections.size()) - 1); at >= 0; --at) {
        const auto &headers = parts.sections[size_t(at)].headers;
        if (const auto found = headers.find(kind); found != headers.end() && found->second)
            return found->second;
    }
    return nullptr;
}

struct FieldRun
{
    int start, end;
    QString instruction;
    QTextCharFormat format;
};

std::vector<FieldRun> fieldRuns(const QTextDocument &text)
{
    std::vector<FieldRun> runs;
    int lastNumber = -1;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString instruction = format.stringProperty(model::FieldInstructionProperty);
            if (instruction.isEmpty()) {
                lastNumber = -1;
                continue;
            }
            const int number = format.intProperty(model::FieldNumberProperty);
            if (!runs.empty() && number == lastNumber && runs.back().end == fragment.position())
                runs.back().end = fragment.position() + fragment.length();
            else
                runs.push_back({fragment.position(), fragment.position() + fragment.length(), instruction, format});
            lastNumber = number;
        }
    return runs;
}

// A field whose result was empty is kept whole, as the file wrote it, before the text after it.
QString keptFieldInstruction(const QString &anchor)
{
    static const QRegularExpression instruction(QStringLiteral("\\\\fldinst(.*?)(\\{\\\\fldrslt|$)"),
                                                QRegularExpression::DotMatchesEverythingOption);
    const auto match = instruction.match(anchor);
    if (!anchor.startsWith(QLatin1String("field:")) || !match.hasMatch())
        return QString();
    QString text = match.captured(1);
    text.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    return text.trimmed();
}

struct KeptField
{
    int position;
    QString instruction;
    QTextCharFormat format;
};

std::vector<KeptField> keptFields(const QTextDocument &text)
{
    std::vector<KeptField> fields;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString &anchor : format.property(model::AnchorsProperty).toStringList())
                if (const QString instruction = keptFieldInstruction(anchor); !instruction.isEmpty())
                    fields.push_back({it.fragment().position(), instruction, model::forNewText(format)});
        }
        for (const QString &anchor : block.blockFormat().property(model::BlockEndAnchorsProperty).toStringList())
            if (const QString instruction = keptFieldInstruction(anchor); !instruction.isEmpty())
                fields.push_back({block.position() + block.length() - 1, instruction, model::forNewText(block.charFormat())});
    }
    return fields;
}

} // namespace

QString printedField(const QString &instruction, const PageFieldValues &values)
{
    const QString name = instruction.trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
    if (name == QLatin1String("PAGE"))
        return QString::number(values.page);
    if (name == QLatin1String("NUMPAGES"))
        return QString::number(values.pages);
    if (name == QLatin1String("SECTIONPAGES"))
        return QString::number(values.sectionPages);
    const QString picture = datePicture(instruction);
    if (name == QLatin1String("DATE"))
        return picture.isEmpty() ? QLocale().toString(values.now.date(), QLocale::ShortFormat)
                                 : QLocale().toString(values.now, picture);
    if (name == QLatin1String("TIME"))
        return picture.isEmpty() ? QLocale().toString(values.now.time(), QLocale::ShortFormat)
                                 : QLocale().toString(values.now, picture);
    return QString();
}

void fillFields(QTextDocument &text, const PageFieldValues &values)
{
    const std::vector<KeptField> kept = keptFields(text);
    for (auto field = kept.rbegin(); field != kept.rend(); ++field) {
        const QString printed = printedField(field->instruction, values);
        if (printed.isNull())
            continue;
        QTextCursor cursor(&text);
        cursor.setPosition(field->position);
        cursor.insertText(printed, field->format);
    }
    const std::vector<FieldRun> runs = fieldRuns(text);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const QString printed = printedField(run->instruction, values);
        if (printed.isNull())
            continue;
        QTextCursor cursor(&text);
        cursor.setPosition(run->start);
        cursor.setPosition(run->end, QTextCursor::KeepAnchor);
        cursor.insertText(printed, run->format);
    }
}

qreal tallestHeader(const QTextDocument &document, int section, bool footer, QPaintDevice *device, qreal width)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    qreal tallest = 0;
    for (int kind = 0; parts && kind <= int(HeaderKind::FooterFirst); ++kind) {
        const QTextDocument *source = ownOrEarlier(*parts, section, HeaderKind(kind));
        if (!source || model::isFooter(HeaderKind(kind)) != footer || source->isEmpty())
            continue;
        std::unique_ptr<QTextDocument> copy(source->clone());
        copy->documentLayout()->setPaintDevice(device);
        copy->setDocumentMargin(0);
        copy->setTextWidth(width);
        tallest = qMax(tallest, copy->size().height());
    }
    return tallest;
}

std::unique_ptr<QTextDocument> printedHeader(const QTextDocument &document, const PrintedPage &page,
                                             const PageSetup &setup, bool footer,
                                             const PageFieldValues &values, QPaintDevice *device, qreal width)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts || parts->sections.empty())
        return nullptr;
    const auto kind = [footer](HeaderKind header, HeaderKind foot) { return footer ? foot : header; };
    const QTextDocument *source = nullptr;
    if (setup.titlePage && page.sectionPage == 1)
        source = ownOrEarlier(*parts, page.section, kind(HeaderKind::HeaderFirst, HeaderKind::FooterFirst));
    else if (setup.facingPages && page.number % 2 == 0)
        source = ownOrEarlier(*parts, page.section, kind(HeaderKind::HeaderLeft, HeaderKind::FooterLeft));
    else if (setup.facingPages)
        source = ownOrEarlier(*parts, page.section, kind(HeaderKind::HeaderRight, HeaderKind::FooterRight));
    if (!source && !(setup.titlePage && page.sectionPage == 1)) {
        for (HeaderKind each : {kind(HeaderKind::Header, HeaderKind::Footer), kind(HeaderKind::HeaderRight, HeaderKind::FooterRight),
                                kind(HeaderKind::HeaderLeft, HeaderKind::FooterLeft)})
            if (!source)
                source = ownOrEarlier(*parts, page.section, each);
    }
    if (!source || source->isEmpty())
        return nullptr;
    std::unique_ptr<QTextDocument> copy(source->clone());
    copy->setUndoRedoEnabled(false);
    copy->documentLayout()->setPaintDevice(device);
    copy->setDocumentMargin(0);
    fillFields(*copy, values);
    copy->setTextWidth(width);
    return copy;
}
