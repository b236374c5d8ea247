#include "tools/spelling/spelling_dialog.h"
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using A = SpellingAnswer;

SpellingQuestion sampleQuestion()
{
    return {QStringLiteral("recieve"), QStringLiteral("We will recieve the parcel on Monday."), 8,
            {QStringLiteral("receive"), QStringLiteral("relieve"), QStringLiteral("reprieve")}};
}

TEST(SpellingDialogTest, ShowsTheWordInItsSentenceWithTheFirstSuggestionOrTheWordItselfReady)
{
    SpellingDialog dialog;
    dialog.present(sampleQuestion());
    EXPECT_EQ(dialog.sentenceView()->toPlainText(), sampleQuestion().sentence);
    EXPECT_TRUE(dialog.sentenceView()->toHtml().contains(QLatin1String("recieve")));
    EXPECT_EQ(dialog.changeToBox()->text(), QStringLiteral("receive"));
    EXPECT_EQ(dialog.suggestionList()->count(), 3);
    EXPECT_TRUE(dialog.button(A::Change)->isDefault());

    dialog.present({QStringLiteral("Velmo"), QStringLiteral("Velmo is small."), 0, {}});
    EXPECT_EQ(dialog.changeToBox()->text(), QStringLiteral("Velmo"));
    EXPECT_TRUE(dialog.button(A::Ignore)->isDefault()) << "Enter ignores a word without suggestions";
    EXPECT_FALSE(dialog.button(A::Change)->isDefault());
}

struct Answering
{
    const char *name;
    A::Action button;
    const char *typed = nullptr; // null: the second suggestion is picked
    bool escape = false;         // Esc instead of the button
};

class DialogAnswerTest : public ::testing::TestWithParam<Answering>
{
};

TEST_P(DialogAnswerTest, AnswersWithTheActionAndTheChangeToTextAndHidesWhenTheCheckEnds)
{
    const Answering &row = GetParam();
    SpellingDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        if (row.escape)
            return QTest::keyClick(&dialog, Qt::Key_Escape);
        if (row.typed)
            dialog.changeToBox()->setText(QLatin1String(row.typed));
        else
            dialog.suggestionList()->setCurrentRow(1);
        dialog.button(row.button)->click();
    });
    const SpellingAnswer answer = dialog.ask(sampleQuestion());
    EXPECT_EQ(answer.action, row.button);
    if (!row.escape) {
        EXPECT_EQ(answer.replacement, QLatin1String(row.typed ? row.typed : "relieve"));
    }
    EXPECT_EQ(dialog.isVisible(), !row.escape);
    dialog.checkEnded();
    EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Rows, DialogAnswerTest,
                         ::testing::Values(Answering{"Ignore", A::Ignore}, Answering{"IgnoreAll", A::IgnoreAll}, Answering{"Add", A::Add},
                                           Answering{"Change", A::Change}, Answering{"ChangeAll", A::ChangeAll}, Answering{"Close", A::Close},
                                           Answering{"ATypedCorrection", A::Change, "get"}, Answering{"EscapeCloses", A::Close, nullptr, true}),
                         [](const auto &info) { return std::string(info.param.name); });

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
