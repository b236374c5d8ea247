#include "document/dropped_files.h"
#include "editor/file_store.h"
#include "document/run_command.h"
#include <QMimeData>
#include <QUrl>

namespace {

// Only a drag of files of this machine is taken; anything else is refused.
QStringList localFiles(const QMimeData &data)
{
    QStringList paths;
    for (const QUrl &url : data.urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

// A line ends at CR or CR LF, never at LF alone; CR LF joins the lines, and the separator is only added
// once the result holds something, so leading empty lines vanish.
QString joinedLines(const QString &text)
{
    QString result;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0)
            end = text.size();
        if (!result.isEmpty())
            result += QLatin1String("\r\n");
        result += QStringView(text).sliced(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == QLatin1Char('\n'))
            ++start;
    }
    return result;
}

} // namespace

Qt::DropAction DroppedFiles::dragOver(const QMimeData &data, Qt::DropActions proposed)
{
    if (localFiles(data).isEmpty() || !(proposed & Qt::CopyAction))
        return Qt::IgnoreAction;
    return Qt::CopyAction;
}

void DroppedFiles::drop(const QMimeData &data)
{
    const QStringList files = localFiles(data);
    // The first file that cannot be read ends the drop; the files before it stay inserted.
    runCommand(messages_, [&] {
        for (const QString &file : files)
            DropFile(RichTextBox1, file);
    });
}

void DropFile(RichTextBox &txt, const QString &sFileName)
{
    const QString text = joinedLines(QString::fromLocal8Bit(diskFileStore().readAll(sFileName)));
    txt.SetSelStart(int(txt.Text().size()));
    txt.SetSelLength(0);
    txt.SetSelText(text);
}
