#include "tests/support/scripted_seams.h"
#include <QPrinter>

bool ScriptedFileDialogs::askPrinter(QPrinter &printer, int flags)
{
    shown.push_back({QStringLiteral("print"), {}, flags});
    const QString pdf = printAnswers.empty() ? QString() : printAnswers.front();
    if (!printAnswers.empty())
        printAnswers.pop_front();
    if (pdf.isNull())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
}
