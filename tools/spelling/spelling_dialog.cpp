#include "tools/spelling/spelling_dialog.h"
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

constexpr auto ActionProperty = "spellingAction";

QString highlighted(const SpellingQuestion &q)
{
    const QString before = q.sentence.left(q.wordInSentence).toHtmlEscaped();
    const QString word = q.sentence.mid(q.wordInSentence, q.word.size()).toHtmlEscaped();
    const QString after = q.sentence.mid(q.wordInSentence + q.word.size()).toHtmlEscaped();
    return QStringLiteral("%1<span style=\"color:#c00000; font-weight:600; text-decoration:underline;\">%2</span>%3")
        .arg(before, word, after);
}

} // namespace

SpellingDialog::SpellingDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Spelling"));
    setObjectName(QStringLiteral("SpellingDialog"));

    notInDictionary_ = new QLabel(tr("Not in dictionary:"));
    sentence_ = new QTextBrowser;
    sentence_->setFocusPolicy(Qt::NoFocus);
    sentence_->setFixedHeight(fontMetrics().lineSpacing() * 4 + 12);
    notInDictionary_->setBuddy(sentence_);

    auto *changeToLabel = new QLabel(tr("Change &to:"));
    changeTo_ = new QLineEdit;
    changeToLabel->setBuddy(changeTo_);

    auto *suggestionsLabel = new QLabel(tr("Suggestio&ns:"));
    suggestions_ = new QListWidget;
    suggestions_->setMinimumHeight(fontMetrics().lineSpacing() * 6);
    suggestionsLabel->setBuddy(suggestions_);
    connect(suggestions_, &QListWidget::currentTextChanged, changeTo_, &QLineEdit::setText);
    connect(suggestions_, &QListWidget::itemActivated, this, [this] { answer(SpellingAnswer::Change); });

    auto *fields = new QVBoxLayout;
    fields->addWidget(notInDictionary_);
    fields->addWidget(sentence_);
    fields->addSpacing(6);
    fields->addWidget(changeToLabel);
    fields->addWidget(changeTo_);
    fields->addSpacing(6);
    fields->addWidget(suggestionsLabel);
    fields->addWidget(suggestions_, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buildButtons());
    resize(520, 340);
}

QLayout *SpellingDialog::buildButtons()
{
    auto *column = new QVBoxLayout;
    column->addSpacing(fontMetrics().lineSpacing() + 4);
    column->addWidget(addButton(tr("&Ignore"), SpellingAnswer::Ignore, tr("Leave this occurrence as it is")));
    column->addWidget(addButton(tr("I&gnore All"), SpellingAnswer::IgnoreAll, tr("Leave every occurrence as it is")));
    column->addWidget(addButton(tr("&Add"), SpellingAnswer::Add, tr("Accept this word until the spell check ends")));
    column->addSpacing(16);
    column->addWidget(addButton(tr("&Change"), SpellingAnswer::Change, tr("Replace this occurrence")));
    column->addWidget(addButton(tr("Change A&ll"), SpellingAnswer::ChangeAll, tr("Replace every occurrence")));
    column->addStretch(1);
    column->addWidget(addButton(tr("Close"), SpellingAnswer::Close, tr("Stop checking and keep the changes made")));
    return column;
}

QPushButton *SpellingDialog::addButton(const QString &caption, SpellingAnswer::Action action, const QString &tip)
{
    auto *button = new QPushButton(caption);
    button->setToolTip(tip);
    button->setProperty(ActionProperty, int(action));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, action] { answer(action); });
    buttons_ << button;
    return button;
}

QPushButton *SpellingDialog::button(SpellingAnswer::Action action) const
{
    for (QPushButton *b : buttons_)
        if (b->property(ActionProperty).toInt() == int(action))
            return b;
    return nullptr;
}

void SpellingDialog::present(const SpellingQuestion &question)
{
    showSentence(question);
    showSuggestions(question);
    // Enter takes the suggestion when there is one, else leaves the word alone.
    const bool canChange = !question.suggestions.isEmpty();
    button(SpellingAnswer::Change)->setDefault(canChange);
    button(SpellingAnswer::Ignore)->setDefault(!canChange);
    changeTo_->setFocus();
    changeTo_->selectAll();
}

void SpellingDialog::showSentence(const SpellingQuestion &question)
{
    sentence_->setHtml(highlighted(question));
}

void SpellingDialog::showSuggestions(const SpellingQuestion &question)
{
    suggestions_->clear();
    if (question.suggestions.isEmpty()) {
        auto *none = new QListWidgetItem(tr("(no suggestions)"), suggestions_);
        none->setFlags(Qt::NoItemFlags);
        changeTo_->setText(question.word);
        return;
    }
    suggestions_->addItems(question.suggestions);
    suggestions_->setCurrentRow(0);
}

SpellingAnswer SpellingDialog::ask(const SpellingQuestion &question)
{
    present(question);
    answer_ = {SpellingAnswer::Close, {}};
    if (!isVisible()) {
        setWindowModality(Qt::ApplicationModal);
        show();
    }
    raise();
    activateWindow();
    waiting_.exec();
    return answer_;
}

void SpellingDialog::answer(SpellingAnswer::Action action)
{
    answer_ = {action, changeTo_->text()};
    waiting_.quit();
}

void SpellingDialog::reject()
{
    answer(SpellingAnswer::Close);
    QDialog::reject();
}

void SpellingDialog::checkEnded() { hide(); }
