#include "editor/common_dialog.h"
#include "editor/command_failure.h"
#include <QAbstractPrintDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>

CommonDialog::CommonDialog(FileDialogSeam &seam) : seam_(seam) {}
CommonDialog::~CommonDialog() = default;

QStringList CommonDialog::filterList(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(QLatin1Char(';')))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        result << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.join(QLatin1Char(' ')));
    }
    return result;
}

QString CommonDialog::folder() const
{
#ifdef Q_OS_WIN
    return InitDir;
#else
    return InitDir == QLatin1String("C:\\") ? QDir::homePath() : InitDir;
#endif
}

void CommonDialog::cancelled()
{
    if (CancelError)
        throw DialogCancelled();
}

void CommonDialog::ShowOpen()
{
    if (auto path = seam_.askOpen(filterList(Filter), folder()))
        FileName = *path;
    else
        cancelled();
}

void CommonDialog::ShowSave()
{
    if (auto path = seam_.askSave(filterList(Filter), folder()))
        FileName = *path;
    else
        cancelled();
}

QPrinter &CommonDialog::printer()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void CommonDialog::ShowPrinter()
{
    if (!seam_.askPrinter(printer(), Flags))
        cancelled();
}

std::optional<QString> QtFileDialogs::askOpen(const QStringList &filters, const QString &folder)
{
    QString path = QFileDialog::getOpenFileName(parent_, QString(), folder, filters.join(QStringLiteral(";;")));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtFileDialogs::askSave(const QStringList &filters, const QString &folder)
{
    // No default suffix: the name is used exactly as typed.
    QString path = QFileDialog::getSaveFileName(parent_, QString(), folder, filters.join(QStringLiteral(";;")));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

namespace {

// Qt's own dialog on this platform still lets "Pages from" be checked without the page-range
// option, and sets its controls up again each time it shows: switch them off once it has.
class NoPageRange : public QObject
{
public:
    explicit NoPageRange(QPrintDialog &dialog) : QObject(&dialog), dialog_(dialog) { dialog.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &dialog_ && event->type() == QEvent::Show)
            switchOff();
        return false;
    }

private:
    void switchOff()
    {
        if (auto *all = dialog_.findChild<QRadioButton *>(QStringLiteral("printAll")))
            all->setChecked(true);
        for (const char *name : {"printRange", "from", "to", "pagesRadioButton", "pagesLineEdit"})
            if (auto *control = dialog_.findChild<QWidget *>(QLatin1String(name)))
                control->setEnabled(false);
    }

    QPrintDialog &dialog_;
};

} // namespace

void QtFileDialogs::applyFlags(QPrintDialog &dialog, int flags)
{
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    if (!(flags & cdl::PD_NOPAGENUMS)) {
        dialog.setOptions(options | QAbstractPrintDialog::PrintPageRange);
        return;
    }
    dialog.setOptions(options & ~QAbstractPrintDialog::PrintPageRange);
    new NoPageRange(dialog);
}

bool QtFileDialogs::askPrinter(QPrinter &printer, int flags)
{
    QPrintDialog dialog(&printer, parent_);
    applyFlags(dialog, flags);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (flags & cdl::PD_NOPAGENUMS)
        printer.setPrintRange(QPrinter::AllPages);
    return true;
}
