#include "rtf/cli/html_pictures.h"
#include "model/document_parts.h"
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <vector>

namespace {

struct PictureUse
{
    int from, to;
    QTextImageFormat format;
};

// Only the reader's own pictures: any other name would make the document load it from disk.
bool isReadPicture(const QString &name)
{
    static const QRegularExpression readName(QStringLiteral("^rtf-picture-\\d+\\.(png|jpg)$"));
    return readName.match(name).hasMatch();
}

std::vector<PictureUse> pictureUses(const QTextDocument &document)
{
    std::vector<PictureUse> uses;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (format.isValid() && isReadPicture(format.name()))
                uses.push_back({fragment.position(), fragment.position() + fragment.length(), format});
        }
    return uses;
}

} // namespace

namespace {

// `prefix` tells apart the pictures of the body, each header and each note, which each document
// numbers from one.
bool writePicturesOf(QTextDocument &document, const QDir &folder, const QString &url, const QString &prefix,
                     QString *why)
{
    QHash<QString, QString> written; // picture name -> where the page finds it
    QTextCursor cursor(&document);
    for (PictureUse use : pictureUses(document)) {
        const QString name = use.format.name();
        if (!written.contains(name)) {
            const QString fileName = prefix + name;
            const QImage image = document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            if (image.isNull() || !image.save(folder.filePath(fileName))) {
                *why = QStringLiteral("cannot write %1").arg(folder.filePath(fileName));
                return false;
            }
            written.insert(name, url + fileName);
        }
        use.format.setName(written.value(name));
        cursor.setPosition(use.from);
        cursor.setPosition(use.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(use.format);
    }
    return true;
}

std::vector<std::pair<QTextDocument *, QString>> documentsOf(QTextDocument &body)
{
    std::vector<std::pair<QTextDocument *, QString>> documents{{&body, QString()}};
    const model::DocumentParts *parts = model::DocumentParts::find(body);
    if (!parts)
        return documents;
    for (std::size_t section = 0; section < parts->sections.size(); ++section)
        for (const auto &[kind, text] : parts->sections[section].headers)
            documents.emplace_back(text, QStringLiteral("section%1-%2-").arg(section + 1).arg(QLatin1String(model::rtfWord(kind))));
    for (auto it = parts->notes.cbegin(); it != parts->notes.cend(); ++it)
        documents.emplace_back(it->text, QStringLiteral("note%1-").arg(it.key()));
    return documents;
}

} // namespace

bool writeHtmlPictures(QTextDocument &document, const QString &htmlPath, QString *why)
{
    std::vector<std::pair<QTextDocument *, QString>> documents = documentsOf(document);
    std::erase_if(documents, [](const auto &entry) { return !entry.first || pictureUses(*entry.first).empty(); });
    if (documents.empty())
        return true;
    const QFileInfo html(htmlPath);
    const QString folderName = html.completeBaseName() + QStringLiteral("_files");
    const QDir folder(html.absoluteDir().filePath(folderName));
    if (!folder.mkpath(QStringLiteral("."))) {
        *why = QStringLiteral("cannot create %1").arg(folder.path());
        return false;
    }
    // The page refers to the folder by a relative URL, whatever characters its name holds.
    const QString url = QString::fromLatin1(QUrl::toPercentEncoding(folderName)) + QLatin1Char('/');
    for (const auto &[text, prefix] : documents)
        if (!writePicturesOf(*text, folder, url, prefix, why))
            return false;
    return true;
}
