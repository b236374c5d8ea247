#pragma once
#include "tools/spelling/spelling_pass.h"
#include <QDialog>
#include <QEventLoop>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextBrowser;

// The interactive spelling dialog: stays open from the first unknown word to the last.
class SpellingDialog : public QDialog, public SpellingPrompt
{
    Q_OBJECT

public:
    explicit SpellingDialog(QWidget *parent = nullptr);

    // Shows the dialog (modal) and waits until the person answers.
    SpellingAnswer ask(const SpellingQuestion &question) override;
    void checkEnded() override;

    // Fills the dialog for `question` without waiting.
    void present(const SpellingQuestion &question);

    QTextBrowser *sentenceView() const { return sentence_; }
    QLineEdit *changeToBox() const { return changeTo_; }
    QListWidget *suggestionList() const { return suggestions_; }
    QPushButton *button(SpellingAnswer::Action action) const;

public slots:
    void reject() override;

private:
    QPushButton *addButton(const QString &caption, SpellingAnswer::Action action, const QString &tip);
    QLayout *buildButtons();
    void answer(SpellingAnswer::Action action);
    void showSentence(const SpellingQuestion &question);
    void showSuggestions(const SpellingQuestion &question);

    QTextBrowser *sentence_;
    QLineEdit *changeTo_;
    QListWidget *suggestions_;
    QLabel *notInDictionary_;
    QList<QPushButton *> buttons_;
    QEventLoop waiting_;
    SpellingAnswer answer_;
};
