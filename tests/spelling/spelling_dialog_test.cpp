#include "tools/spelling/spelling_dialog.h"
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

SpellingQuestion sampleQuestion()
{
    return {QStringLiteral("recieve"), QStringLiteral("We will recieve the parcel on Monday."), 8,
            {QStringLiteral("receive"), QStringLiteral("relieve"), QStringLiteral("reprieve")}};
}

// Runs `during` once the dialog waits for an answer, then returns that answer.
template <typename During>
SpellingAnswer askAndThen(SpellingDialog &dialog, const SpellingQuestion &question, During during)
{
    QTimer::singleShot(0, &dialog, during);
    return dialog.ask(question);
}

TEST(SpellingDialogTest, ShowsTheWordInItsSentenceWithTheFirstSuggestionReady)
{
    SpellingDialog dialog;
    dialog.present(sampleQuestion());
    EXPECT_EQ(dialog.sentenceView()->toPlainText(), sampleQuestion().sentence);
    EXPECT_TRUE(dialog.sentenceView()->toHtml().contains(QLatin1String("recieve")));
    EXPECT_EQ(dialog.changeToBox()->text(), QStringLiteral("receive"));
    ASSERT_EQ(dialog.suggestionList()->count(), 3);
    EXPECT_TRUE(dialog.button(SpellingAnswer::Change)->isDefault());
}

TEST(SpellingDialogTest, WithoutSuggestionsTheWordStaysAndEnterIgnoresIt)
{
    SpellingDialog dialog;
    dialog.present({QStringLiteral("Velmo"), QStringLiteral("Velmo is small."), 0, {}});
    EXPECT_EQ(dialog.changeToBox()->text(), QStringLiteral("Velmo"));
    EXPECT_TRUE(dialog.button(SpellingAnswer::Ignore)->isDefault());
    EXPECT_FALSE(dialog.button(SpellingAnswer::Change)->isDefault());
}

class DialogButtonTest : public ::testing::TestWithParam<SpellingAnswer::Action>
{
};

TEST_P(DialogButtonTest, EachButtonAnswersWithItsActionAndTheChangeToText)
{
    SpellingDialog dialog;
    const SpellingAnswer answer = askAndThen(dialog, sampleQuestion(), [&] {
        dialog.suggestionList()->setCurrentRow(1);
        dialog.button(GetParam())->click();
    });
    EXPECT_EQ(answer.action, GetParam());
    EXPECT_EQ(answer.replacement, QStringLiteral("relieve"));
    EXPECT_EQ(dialog.isVisible(), GetParam() != SpellingAnswer::Close);
}

INSTANTIATE_TEST_SUITE_P(Buttons, DialogButtonTest,
                         ::testing::Values(SpellingAnswer::Ignore, SpellingAnswer::IgnoreAll, SpellingAnswer::Add,
                                           SpellingAnswer::Change, SpellingAnswer::ChangeAll));

TEST(SpellingDialogTest, ATypedCorrectionIsUsed)
{
    SpellingDialog dialog;
    const SpellingAnswer answer = askAndThen(dialog, sampleQuestion(), [&] {
        dialog.changeToBox()->setText(QStringLiteral("get"));
        dialog.button(SpellingAnswer::Change)->click();
    });
    EXPECT_EQ(answer.action, SpellingAnswer::Change);
    EXPECT_EQ(answer.replacement, QStringLiteral("get"));
}

TEST(SpellingDialogTest, EscapeClosesTheCheck)
{
    SpellingDialog dialog;
    const SpellingAnswer answer = askAndThen(dialog, sampleQuestion(), [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(answer.action, SpellingAnswer::Close);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(SpellingDialogTest, StaysOpenBetweenWordsAndHidesWhenTheCheckEnds)
{
    SpellingDialog dialog;
    askAndThen(dialog, sampleQuestion(), [&] { dialog.button(SpellingAnswer::Ignore)->click(); });
    EXPECT_TRUE(dialog.isVisible());
    dialog.checkEnded();
    EXPECT_FALSE(dialog.isVisible());
}

// Renders the dialog; with VELMO_SCREENSHOT_DIR set, also saves it there as spelling-dialog.png.
TEST(SpellingDialogTest, Renders)
{
    SpellingDialog dialog;
    dialog.present(sampleQuestion());
    dialog.show();
    const QImage shot = dialog.grab().toImage();
    EXPECT_FALSE(shot.isNull());
    const QString dir = qEnvironmentVariable("VELMO_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(shot.save(QDir(dir).filePath(QStringLiteral("spelling-dialog.png"))));
    }
}

} // namespace
