#include "rtf/field_instruction.h"
#include <QStringList>

namespace rtf {
namespace {

// Splits an instruction into its words; quotes group words, and inside them
// a doubled backslash stands for one.
QStringList instructionWords(QStringView instruction)
{
    QStringList words;
    QString word;
    bool quoted = false, inWord = false;
    for (qsizetype i = 0; i < instruction.size(); ++i) {
        const QChar c = instruction[i];
        if (c == u'"') {
            if (quoted || inWord) {
                words << word;
                word.clear();
                inWord = false;
            }
            quoted = !quoted;
            inWord = quoted;
        } else if (quoted && c == u'\\' && i + 1 < instruction.size() && instruction[i + 1] == u'\\') {
            word += c;
            ++i;
        } else if (!quoted && c.isSpace()) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

} // namespace

QString hyperlinkTarget(QStringView instruction)
{
    const QStringList words = instructionWords(instruction);
    if (words.isEmpty() || words.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return {};
    QString url, anchor;
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word.compare(u"\\l", Qt::CaseInsensitive) == 0 && i + 1 < words.size()) {
            anchor = words.at(++i);
        } else if (word == u"\\o" || word == u"\\t") {
            ++i; // a tooltip or a target frame: not part of the link
        } else if (!word.startsWith(u'\\') && url.isEmpty()) {
            url = word;
        }
    }
    if (anchor.isEmpty())
        return url;
    return url + u'#' + anchor;
}

QString hyperlinkInstruction(const QString &href)
{
    const auto quoted = [](QString text) {
        text.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("%22"));
        return u'"' + text + u'"';
    };
    if (href.startsWith(u'#'))
        return QStringLiteral("HYPERLINK \\l ") + quoted(href.mid(1));
    return QStringLiteral("HYPERLINK ") + quoted(href);
}

} // namespace rtf
