#pragma once
#include <QKeySequence>
#include <QObject>
#include <QSet>
#include <QString>

class MessageBoxSeam;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class RichTextBox;

// The find box and its Search button, and the step-by-step search they run.
class FindBar : public QObject
{
    Q_OBJECT

public:
    // Box colours, 0x00BBGGRR.
    static constexpr quint32 Highlighted = 0xC0C0FF;
    static constexpr quint32 Normal = 0xFFFFFF;

    FindBar(QLineEdit &txtFind, QPushButton &cmdFind, RichTextBox &editor, MessageBoxSeam &messages);

    void Find_Click();
    void txtFind_KeyPress(int KeyAscii);
    void cmdFind_Click();
    void txtFind_LostFocus();
    // One step: selects the next occurrence from NextStart, or ends the pass with a message.
    void FindT(const QString &TextToFind, RichTextBox &Where);

    // Window shortcuts that win over the box's own keys; the clipboard keys stay the box's.
    void reserveShortcuts(const QSet<QKeySequence> &keys) { reserved_ = keys; }

    // The box's background colour as 0x00BBGGRR.
    quint32 txtFindBackColor() const;

    int NextStart = 0;
    bool FoundAny = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setTxtFindBackColor(quint32 bgr);
    bool leavesToTheWindow(const QKeyEvent &key) const;

    QLineEdit &txtFind_;
    QPushButton &cmdFind_;
    RichTextBox &editor_;
    MessageBoxSeam &messages_;
    QSet<QKeySequence> reserved_;
};
