#include "tests/printing/pdf_inspection.h"
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace pdf {
namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

bool toolsAvailable()
{
    for (const char *tool : {"pdftotext", "pdftoppm", "pdfinfo"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            return false;
    return true;
}

QString text(const QString &path) { return run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}); }

int pageCount(const QString &path)
{
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {path}));
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QList<QSizeF> pageSizes(const QString &path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                         QStringLiteral("100000"), path});
    QList<QSizeF> sizes;
    const QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        sizes << QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return sizes;
}

QStringList pageTexts(const QString &path)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast(); // the text ends with a form feed
    return pages;
}

QImage renderFirstPage(const QString &path, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
                                     QString::number(dpi), path, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

QList<QRectF> wordBoxes(const QString &path, const QString &word)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression line(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                 "yMax=\"([\\d.]+)\">%1</word>")
                                      .arg(QRegularExpression::escape(word)));
    QList<QRectF> boxes;
    for (auto it = line.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        boxes << QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return boxes;
}

} // namespace pdf
