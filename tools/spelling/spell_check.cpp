#include "tools/spelling/spell_check.h"
#include "editor/message_box.h"
#include "editor/rich_text_box.h"
#include "tools/spelling/automation.h"
#include "tools/spelling/text_corrections.h"
#include "tools/spelling/word_basic.h"

namespace {

const QString DocumentVariable = QStringLiteral("MyVar");

QString correctedTextFrom(AutomationObject &word, const QString &text)
{
    word.call(QStringLiteral("FileNew"));
    word.call(QStringLiteral("Insert"), {text});
    word.call(QStringLiteral("ToolsSpelling"));
    word.call(QStringLiteral("EditSelectAll"));
    const QVariant selection = word.call(QStringLiteral("Selection"));
    word.call(QStringLiteral("SetDocumentVar"), {DocumentVariable, selection});
    return word.call(QStringLiteral("GetDocumentVar"), {DocumentVariable}).toString();
}

} // namespace

AutomationRegistry &defaultAutomation()
{
    static AutomationRegistry registry = [] {
        AutomationRegistry builtIn;
        registerWordBasic(builtIn);
        return builtIn;
    }();
    return registry;
}

bool ChkSpell(RichTextBox &txt, AutomationRegistry &automation, QString *reason)
{
    try {
        AutomationObject word = automation.CreateObject(QStringLiteral("Word.Basic"));
        QString corrected = correctedTextFrom(word, txt.Text());
        // The word processor's text ends with its final paragraph mark.
        if (corrected.isEmpty())
            return false;
        corrected.chop(1);
        applyCorrectedText(*txt.document(), corrected);
        return true;
    } catch (const AutomationError &e) {
        if (reason)
            *reason = e.reason();
        return false;
    }
}

void SplCheck_Click(RichTextBox &editor, MessageBoxSeam &messages, AutomationRegistry &automation)
{
    QString reason;
    if (ChkSpell(editor, automation, &reason)) {
        messages.MsgBox(QStringLiteral("Finished Spell Check"));
        return;
    }
    QString prompt = QStringLiteral("The spell check could not be completed.");
    if (!reason.isEmpty())
        prompt += QLatin1Char('\n') + reason;
    messages.MsgBox(prompt, vb::vbOKOnly, QStringLiteral("Spell Checker"));
}
