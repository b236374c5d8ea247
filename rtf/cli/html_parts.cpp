#include "rtf/cli/html_parts.h"
#include "model/document_parts.h"
#include "model/text_properties.h"
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>
#include <vector>

namespace {

QString innerBody(const QString &html)
{
    const qsizetype open = html.indexOf(QLatin1String("<body"));
    const qsizetype start = open < 0 ? -1 : html.indexOf(u'>', open);
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return html;
    return html.mid(start + 1, end - start - 1);
}

QString innerBody(const QTextDocument *text)
{
    return text ? innerBody(text->toHtml()) : QString();
}

struct Mark
{
    int position;
    const model::Note *note;
    QTextCharFormat format;
};

std::vector<Mark> marksOf(const QTextDocument &document, const model::DocumentParts &parts)
{
    std::vector<Mark> marks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.objectType() != model::NoteMarkObject)
                continue;
            const model::Note *note = parts.note(format.intProperty(model::NoteIdProperty));
            for (int i = 0; note && i < it.fragment().length(); ++i)
                marks.push_back({it.fragment().position() + i, note, format});
        }
    }
    return marks;
}

QString headerHtml(const model::DocumentParts &parts, bool footer)
{
    if (parts.sections.empty())
        return QString();
    const auto &headers = parts.sections.front().headers;
    const auto found = headers.find(footer ? model::HeaderKind::Footer : model::HeaderKind::Header);
    if (found == headers.end() || !found->second)
        return QString();
    return QStringLiteral("<div title=\"%1\">%2</div>\n")
        .arg(footer ? QLatin1String("footer") : QLatin1String("header"), innerBody(found->second));
}

} // namespace

QString htmlWithParts(const QTextDocument &document)
{
    const model::DocumentParts *parts = model::DocumentParts::find(document);
    if (!parts)
        return document.toHtml();
    std::unique_ptr<QTextDocument> body(document.clone());
    const std::vector<Mark> marks = marksOf(*body, *parts);
    QStringList notes;
    int counts[3] = {0, 0, 0};
    struct Link
    {
        Mark mark;
        QString id, label;
    };
    std::vector<Link> links;
    for (const Mark &mark : marks) {
        const int kind = int(mark.note->kind);
        const int number = ++counts[kind];
        static const char *const names[] = {"sdfootnote", "sdendnote", "sdcomment"};
        const QString id = QLatin1String(names[kind]) + QString::number(number);
        const QString label = mark.note->kind == model::Note::Kind::Comment
                                  ? mark.note->initials + QString::number(number)
                                  : QString::number(number);
        links.push_back({mark, id, label});
        QString text = innerBody(mark.note->text);
        if (mark.note->kind == model::Note::Kind::Comment && !mark.note->author.isEmpty())
            text = mark.note->author.toHtmlEscaped() + QStringLiteral(": ") + text;
        notes << QStringLiteral("<div id=\"%1\"><p><a class=\"%2sym\" name=\"%1sym\" href=\"#%1anc\">%3</a></p>%4</div>")
                     .arg(id, QLatin1String(names[kind]), label.toHtmlEscaped(), text);
    }
    // From the last mark back, so that the positions before it stay where they are.
    QTextCursor cursor(body.get());
    for (auto it = links.rbegin(); it != links.rend(); ++it) {
        const auto &[mark, id, label] = *it;
        QTextCharFormat link;
        link.setAnchor(true);
        link.setAnchorHref(u'#' + id + QStringLiteral("sym"));
        link.setAnchorNames({id + QStringLiteral("anc")});
        link.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        cursor.setPosition(mark.position);
        cursor.setPosition(mark.position + 1, QTextCursor::KeepAnchor);
        cursor.insertText(label, link);
    }
    QString html = body->toHtml();
    const qsizetype open = html.indexOf(QLatin1String("<body"));
    const qsizetype start = open < 0 ? -1 : html.indexOf(u'>', open);
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (start < 0 || end < start)
        return html;
    html.insert(end, headerHtml(*parts, true) + notes.join(u'\n'));
    html.insert(start + 1, headerHtml(*parts, false));
    return html;
}
