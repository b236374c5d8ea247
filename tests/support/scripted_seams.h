#pragma once
#include "editor/common_dialog.h"
#include "editor/message_box.h"
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

// Message boxes answered from a queue; every box shown is kept for checking.
class ScriptedMessageBox : public MessageBoxSeam
{
public:
    struct Shown
    {
        QString prompt;
        int buttons;
        QString title;
    };

    void answer(int result) { answers.push_back(result); }

    std::vector<Shown> shown;
    std::deque<int> answers;

protected:
    int show(const QString &prompt, int buttons, const QString &title) override
    {
        shown.push_back({prompt, buttons, title});
        if (answers.empty())
            return (buttons & ~vb::vbDefaultButton2) == vb::vbYesNo ? vb::vbNo : vb::vbOK;
        int result = answers.front();
        answers.pop_front();
        return result;
    }
};

// File and print dialogs answered from a queue: a path confirms, nothing cancels.
class ScriptedFileDialogs : public FileDialogSeam
{
public:
    struct Shown
    {
        QString kind; // "open", "save" or "print"
        QStringList filters;
        int flags = 0;
    };

    void confirm(const QString &path) { answers.push_back(path); }
    void cancel() { answers.push_back(QString()); }
    // The print dialog: true sets the printer up as a PDF file at `pdfPath`.
    void confirmPrinter(const QString &pdfPath) { printAnswers.push_back(pdfPath); }
    void cancelPrinter() { printAnswers.push_back(QString()); }

    std::optional<QString> askOpen(const QStringList &filters, const QString &) override
    {
        return next("open", filters);
    }
    std::optional<QString> askSave(const QStringList &filters, const QString &) override
    {
        return next("save", filters);
    }
    bool askPrinter(QPrinter &printer, int flags) override;

    std::vector<Shown> shown;
    // A null string cancels.
    std::deque<QString> answers;
    std::deque<QString> printAnswers;

private:
    std::optional<QString> next(const char *kind, const QStringList &filters)
    {
        shown.push_back({QLatin1String(kind), filters, 0});
        const QString path = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        if (path.isNull())
            return std::nullopt;
        return path;
    }
};
