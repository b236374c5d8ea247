#include "tools/find_bar.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int vbKeyReturn = 13;

// The character code a key press types, or nothing for keys that type no character.
std::optional<int> keyAscii(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
        return vbKeyReturn;
    if (key.text().isEmpty())
        return std::nullopt;
    return key.text().at(0).unicode();
}

} // namespace

FindBar::FindBar(QLineEdit &txtFind, QPushButton &cmdFind, RichTextBox &editor, MessageBoxSeam &messages)
    : txtFind_(txtFind), cmdFind_(cmdFind), editor_(editor), messages_(messages)
{
    txtFind_.installEventFilter(this);
    connect(&cmdFind_, &QPushButton::clicked, this, &FindBar::cmdFind_Click);
}

void FindBar::Find_Click()
{
    txtFind_.setFocus(Qt::ShortcutFocusReason);
    setTxtFindBackColor(Highlighted);
}

void FindBar::txtFind_KeyPress(int KeyAscii)
{
    if (KeyAscii == vbKeyReturn)
        FindT(txtFind_.text(), editor_);
}

void FindBar::cmdFind_Click()
{
    setTxtFindBackColor(Normal);
    FindT(txtFind_.text(), editor_);
}

void FindBar::txtFind_LostFocus() { setTxtFindBackColor(Normal); }

void FindBar::FindT(const QString &TextToFind, RichTextBox &Where)
{
    Where.SetSelStart(0);
    // Full position range: a match anywhere in a long document steps on correctly.
    const int position = Where.Find(TextToFind, NextStart);
    NextStart = position + 1;
    Where.SetFocus();
    if (position == -1) {
        messages_.MsgBox(FoundAny ? QStringLiteral("Found All!") : QStringLiteral("Found none!"), vb::vbOKOnly,
                         QStringLiteral("Velmo"));
        Where.SetSelLength(0);
        NextStart = 0;
        FoundAny = false;
        return;
    }
    FoundAny = true;
}

quint32 FindBar::txtFindBackColor() const
{
    const QColor c = txtFind_.palette().color(QPalette::Base);
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

void FindBar::setTxtFindBackColor(quint32 bgr)
{
    QPalette p = txtFind_.palette();
    p.setColor(QPalette::Base, QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)));
    txtFind_.setPalette(p);
}

bool FindBar::leavesToTheWindow(const QKeyEvent &key) const
{
    if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Paste))
        return false;
    return reserved_.contains(QKeySequence(key.keyCombination()));
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &txtFind_) {
        if (event->type() == QEvent::ShortcutOverride && leavesToTheWindow(*static_cast<QKeyEvent *>(event))) {
            event->ignore(); // the line edit would take the key (Ctrl+U clears it) before the menu sees it
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            if (const auto code = keyAscii(*static_cast<QKeyEvent *>(event)))
                txtFind_KeyPress(*code);
        } else if (event->type() == QEvent::FocusOut) {
            txtFind_LostFocus();
        }
    }
    return QObject::eventFilter(watched, event);
}
