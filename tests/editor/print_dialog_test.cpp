// The real print dialog, as the flags leave it for a person to use.
#include "editor/common_dialog.h"
#include <QAbstractButton>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct PageRangeCase
{
    const char *name;
    int flags;
    bool offered;
};

class RealPrintDialog : public ::testing::TestWithParam<PageRangeCase>
{
};

// What a person can do to ask for particular pages: check a page choice, or type into a page field.
bool pageRangeCanBeChosen(QPrintDialog &dialog)
{
    bool can = false;
    for (QRadioButton *choice : dialog.findChildren<QRadioButton *>()) {
        if (!choice->text().startsWith(QLatin1String("Page")))
            continue;
        choice->click();
        can = can || choice->isChecked();
    }
    for (QSpinBox *page : dialog.findChildren<QSpinBox *>())
        if (page->objectName() == QLatin1String("from") || page->objectName() == QLatin1String("to"))
            can = can || page->isEnabled();
    return can;
}

TEST_P(RealPrintDialog, OffersAPageRangeOnlyWithoutNoPageNums)
{
    QPrinter printer;
    QPrintDialog dialog(&printer);
    QtFileDialogs::applyFlags(dialog, GetParam().flags);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.testOption(QAbstractPrintDialog::PrintPageRange), GetParam().offered);
    ASSERT_FALSE(dialog.findChildren<QRadioButton *>().isEmpty()) << "the dialog's page choices were not found";
    EXPECT_EQ(pageRangeCanBeChosen(dialog), GetParam().offered);
    dialog.reject();
}

INSTANTIATE_TEST_SUITE_P(Flags, RealPrintDialog,
                         ::testing::Values(PageRangeCase{"PrintCommandFlags", cdl::PD_RETURNDC | cdl::PD_NOPAGENUMS, false},
                                           PageRangeCase{"NoFlags", 0, true}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
