#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QPrintDialog;
class QPrinter;
class QWidget;

// How the shared dialog actually asks a person. Production shows Qt's dialogs; tests script answers.
class FileDialogSeam
{
public:
    virtual ~FileDialogSeam() = default;
    // The confirmed path, or nothing when the person cancelled.
    virtual std::optional<QString> askOpen(const QStringList &filters, const QString &folder) = 0;
    virtual std::optional<QString> askSave(const QStringList &filters, const QString &folder) = 0;
    // Lets the person set up `printer`; false when cancelled.
    virtual bool askPrinter(QPrinter &printer, int flags) = 0;
};

class QtFileDialogs : public FileDialogSeam
{
public:
    explicit QtFileDialogs(QWidget *parent) : parent_(parent) {}
    std::optional<QString> askOpen(const QStringList &filters, const QString &folder) override;
    std::optional<QString> askSave(const QStringList &filters, const QString &folder) override;
    bool askPrinter(QPrinter &printer, int flags) override;
    // The dialog's options as the flags ask: PD_NOPAGENUMS leaves no page range to choose.
    static void applyFlags(QPrintDialog &dialog, int flags);

private:
    QWidget *parent_;
};

// Print dialog option bits.
namespace cdl {
inline constexpr int PD_NOPAGENUMS = 0x8;
inline constexpr int PD_RETURNDC = 0x100;
} // namespace cdl

// The one open, save and print dialog of the window. Every property keeps its value between uses.
class CommonDialog
{
public:
    explicit CommonDialog(FileDialogSeam &seam);
    ~CommonDialog();

    QString Filter = QStringLiteral("Text files (*.txt)|*.txt|All Files (*.*)|*.*");
    QString FileName;
    bool CancelError = false;
    int Flags = 0;
    QString InitDir = QStringLiteral("C:\\");

    void ShowOpen();
    void ShowSave();
    void ShowPrinter();
    // The printer the print dialog set up; made on first use so start-up enumerates no printers.
    QPrinter &printer();

    // "desc|pattern|desc|pattern" as the dialogs' filter list.
    static QStringList filterList(const QString &filter);
    // The design-time folder, as a folder of this machine.
    QString folder() const;

private:
    void cancelled();

    FileDialogSeam &seam_;
    std::unique_ptr<QPrinter> printer_;
};
