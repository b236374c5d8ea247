#include "model/document_parts.h"
#include <QTextDocument>
#include <cctype>
#include <cstring>

namespace model {
namespace {

const char *const PartsName = "velmo-document-parts";

} // namespace

const char *rtfWord(HeaderKind kind)
{
    static const char *const words[] = {"header", "headerl", "headerr", "headerf",
                                        "footer", "footerl", "footerr", "footerf"};
    return words[int(kind)];
}

bool isFooter(HeaderKind kind)
{
    return kind >= HeaderKind::Footer;
}

DocumentParts::DocumentParts(QTextDocument &owner) : QObject(&owner)
{
    setObjectName(QLatin1String(PartsName));
}

DocumentParts *DocumentParts::find(const QTextDocument &document)
{
    return document.findChild<DocumentParts *>(QLatin1String(PartsName), Qt::FindDirectChildrenOnly);
}

DocumentParts &DocumentParts::of(QTextDocument &document)
{
    if (DocumentParts *parts = find(document))
        return *parts;
    return *new DocumentParts(document);
}

void DocumentParts::remove(QTextDocument &document)
{
    delete find(document);
}

QTextDocument *DocumentParts::newText(const QTextDocument &like)
{
    auto *text = new QTextDocument(this);
    text->setDefaultFont(like.defaultFont());
    text->setUndoRedoEnabled(false);
    return text;
}

void DocumentParts::copy(const QTextDocument &source, QTextDocument &target)
{
    remove(target);
    const DocumentParts *from = find(source);
    if (!from)
        return;
    DocumentParts &to = of(target);
    const auto clone = [&to](const QTextDocument *text) {
        QTextDocument *copy = text ? text->clone(&to) : nullptr;
        if (copy)
            copy->setUndoRedoEnabled(false);
        return copy;
    };
    to.documentWords = from->documentWords;
    to.groups = from->groups;
    to.info = from->info;
    to.sourceFonts = from->sourceFonts;
    to.sourceColors = from->sourceColors;
    to.nextNote_ = from->nextNote_;
    for (const Section &section : from->sections) {
        Section copy{section.words, {}};
        for (const auto &[kind, text] : section.headers)
            copy.headers[kind] = clone(text);
        to.sections.push_back(copy);
    }
    for (auto it = from->notes.cbegin(); it != from->notes.cend(); ++it) {
        Note note = it.value();
        note.text = clone(note.text);
        to.notes.insert(it.key(), note);
    }
}

int DocumentParts::addNote(const Note &note)
{
    const int id = nextNote_++;
    notes.insert(id, note);
    return id;
}

const Note *DocumentParts::note(int id) const
{
    const auto found = notes.constFind(id);
    return found == notes.cend() ? nullptr : &*found;
}

int wordValue(const QByteArray &words, const char *word, int absent)
{
    const qsizetype length = qsizetype(std::strlen(word));
    int value = absent; // a word given twice counts as given last
    for (qsizetype at = words.indexOf('\\'); at >= 0; at = words.indexOf('\\', at + 1)) {
        if (words.mid(at + 1, length) != word)
            continue;
        qsizetype end = at + 1 + length;
        if (end < words.size() && std::isalpha(static_cast<unsigned char>(words[end])))
            continue; // a longer word that starts the same
        qsizetype digits = end;
        if (digits < words.size() && words[digits] == '-')
            ++digits;
        while (digits < words.size() && std::isdigit(static_cast<unsigned char>(words[digits])))
            ++digits;
        bool ok = digits == end;
        value = ok ? 1 : words.mid(end, digits - end).toInt(&ok);
        if (!ok)
            value = absent;
    }
    return value;
}

} // namespace model
