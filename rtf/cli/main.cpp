// velmo-rtf: converts with the same reader and writer the editor uses.
#include "model/document_parts.h"
#include "model/text_properties.h"
#include "rtf/cli/html_parts.h"
#include "rtf/cli/html_pictures.h"
#include "rtf/rtf.h"
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <cstdio>
#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#endif
#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/common_interface_defs.h>)
#include <sanitizer/common_interface_defs.h>
#define VELMO_SANITIZER_REPORTS 1
#endif

namespace {

// The converter's own diagnostics; the process's standard error belongs to the libraries.
FILE *diagnostics = stderr;

// Image libraries (libpng, libjpeg) print their complaints straight to the standard error, past any
// Qt message handler, so the descriptor itself goes to the null device and the converter keeps a copy.
void keepLibrariesQuiet()
{
#if defined(Q_OS_UNIX)
    const int own = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (own < 0 || null < 0)
        return;
    fcntl(own, F_SETFD, FD_CLOEXEC);
    if (FILE *copy = fdopen(own, "w"); copy && dup2(null, STDERR_FILENO) >= 0) {
        diagnostics = copy;
        std::setvbuf(diagnostics, nullptr, _IOLBF, 0);
#ifdef VELMO_SANITIZER_REPORTS
        __sanitizer_set_report_fd(reinterpret_cast<void *>(static_cast<intptr_t>(own)));
#endif
    }
    close(null);
#elif defined(Q_OS_WIN)
    // The C runtime's descriptor 2 is the one the libraries print to; moving it moves the
    // process's standard error handle with it.
    const int own = _dup(2);
    const int null = _open("NUL", _O_WRONLY);
    if (own < 0 || null < 0)
        return;
    if (FILE *copy = _fdopen(own, "w"); copy && _dup2(null, 2) >= 0) {
        diagnostics = copy;
        std::setvbuf(diagnostics, nullptr, _IONBF, 0); // Windows' C runtime has no line buffering
    }
    _close(null);
#endif
}

int usage()
{
    std::fputs("usage: velmo-rtf to-text|to-html|to-rtf IN OUT\n", diagnostics);
    return 2;
}

int failure(const QString &why)
{
    std::fprintf(diagnostics, "velmo-rtf: %s\n", qPrintable(why));
    return 1;
}

// A batch tool's only output is its one-line reason; Qt's warnings stay out.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg)
        std::fprintf(diagnostics, "velmo-rtf: %s\n", qPrintable(message));
}

// The body's text: notes' marks are characters of the document, not of its text.
QString bodyText(const QTextDocument &document)
{
    QString text = document.toPlainText(); // a character for each of the document's
    if (!model::DocumentParts::find(document))
        return text;
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        for (auto it = block.end(); it != block.begin();) {
            --it;
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().objectType() == model::NoteMarkObject)
                text.remove(fragment.position(), fragment.length());
        }
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    keepLibrariesQuiet();
    // Pictures need a GUI application; nothing is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return usage();
    const QString mode = args.at(1);
    if (mode != u"to-text" && mode != u"to-html" && mode != u"to-rtf")
        return usage();

    QFile input(args.at(2));
    if (!input.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("cannot open %1: %2").arg(args.at(2), input.errorString()));
    const QByteArray bytes = input.readAll();
    input.close();

    QTextDocument document;
    QString reason;
    QStringList warnings;
    if (!rtf::read(bytes, document, rtf::ReadLimits{}, &reason, &warnings))
        return failure(QStringLiteral("cannot read %1: %2").arg(args.at(2), reason));
    for (const QString &warning : std::as_const(warnings))
        std::fprintf(diagnostics, "velmo-rtf: %s: %s\n", qPrintable(args.at(2)), qPrintable(warning));

    QByteArray output;
    if (mode == u"to-text")
        output = bodyText(document).toUtf8();
    else if (mode == u"to-html" && !writeHtmlPictures(document, args.at(3), &reason))
        return failure(reason);
    else if (mode == u"to-html")
        output = htmlWithParts(document).toUtf8();
    else
        output = rtf::write(document);

    QSaveFile file(args.at(3));
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size() || !file.commit())
        return failure(QStringLiteral("cannot write %1: %2").arg(args.at(3), file.errorString()));
    return 0;
}
