#include "rtf/cli/html_pictures.h"
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

bool writeHtmlPictures(QTextDocument &document, const QString &htmlPath, QString *why)
{
    const std::vector<PictureUse> uses = pictureUses(document);
    if (uses.empty())
        return true;
    const QFileInfo html(htmlPath);
    const QString folderName = html.completeBaseName() + QStringLiteral("_files");
    const QDir folder(html.absoluteDir().filePath(folderName));
    if (!folder.mkpath(QStringLiteral("."))) {
        *why = QStringLiteral("cannot create %1").arg(folder.path());
        return false;
    }
    // The page refers to the folder by a relative URL, whatever characters its name holds.
    const QString prefix = QString::fromLatin1(QUrl::toPercentEncoding(folderName)) + QLatin1Char('/');
    QHash<QString, QString> written; // picture name -> where the page finds it
    QTextCursor cursor(&document);
    for (PictureUse use : uses) {
        const QString name = use.format.name();
        if (!written.contains(name)) {
            const QImage image = document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
            if (image.isNull() || !image.save(folder.filePath(name))) {
                *why = QStringLiteral("cannot write %1").arg(folder.filePath(name));
                return false;
            }
            written.insert(name, prefix + name);
        }
        use.format.setName(written.value(name));
        cursor.setPosition(use.from);
        cursor.setPosition(use.to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(use.format);
    }
    return true;
}
