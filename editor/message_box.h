#pragma once
#include <QString>

class QWidget;

// Buttons values and results of a message box.
namespace vb {
inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNo = 4;
inline constexpr int vbDefaultButton2 = 256; // with vbYesNo: No, not Yes, is what Enter answers
inline constexpr int vbOK = 1;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;
} // namespace vb

// Every message box of the program goes through here.
class MessageBoxSeam
{
public:
    static inline const QString DefaultTitle = QStringLiteral("Velmo for Windows");

    virtual ~MessageBoxSeam() = default;

    // A title left empty shows the application's title.
    int MsgBox(const QString &prompt, int buttons = vb::vbOKOnly, const QString &title = {})
    {
        return show(prompt, buttons, title.isEmpty() ? DefaultTitle : title);
    }

protected:
    virtual int show(const QString &prompt, int buttons, const QString &title) = 0;
};

// Modal QMessageBox over the given window.
class QtMessageBox : public MessageBoxSeam
{
public:
    explicit QtMessageBox(QWidget *parent) : parent_(parent) {}

protected:
    int show(const QString &prompt, int buttons, const QString &title) override;

private:
    QWidget *parent_;
};
