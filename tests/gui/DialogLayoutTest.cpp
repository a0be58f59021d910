// The Find dialog and the About box laid out at a large font.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/AboutDialog.h"
#include "gui/FindDialog.h"
#include "support/LayoutCheck.h"
#include "support/TestEnv.h"

class DialogLayoutTest : public QuillaryTest {};

TEST_F(DialogLayoutTest, FindKeepsItsCaptionBesideTheFieldAndTheOptionsBelow)
{
    LargeFont font;
    FindDialog find;
    find.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&find));
    expectLaidOutWhole(&find);
    EXPECT_LT(child<QLabel>(find, "findLabel")->geometry().right(), child<QLineEdit>(find, "findEdit")->x());
    EXPECT_GT(child<QCheckBox>(find, "matchCaseCheck")->y(), child<QLineEdit>(find, "findEdit")->geometry().bottom());
    EXPECT_GT(child<QCheckBox>(find, "wholeCellCheck")->y(), child<QCheckBox>(find, "matchCaseCheck")->geometry().bottom());
    EXPECT_GE(child<QCheckBox>(find, "matchCaseCheck")->x(), child<QLineEdit>(find, "findEdit")->x());
    // Room for a good many characters of the text to find.
    EXPECT_GT(child<QLineEdit>(find, "findEdit")->width(), 30 * child<QLineEdit>(find, "findEdit")->fontMetrics().averageCharWidth());
}

TEST_F(DialogLayoutTest, AboutShowsTheIconBesideItsTexts)
{
    LargeFont font;
    AboutDialog about(links);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectLaidOutWhole(&about);
    EXPECT_LT(child<QLabel>(about, "iconLabel")->geometry().right(), child<QLabel>(about, "titleLabel")->x());
    EXPECT_LT(child<QLabel>(about, "titleLabel")->geometry().bottom(), child<QLabel>(about, "versionLabel")->y());
    EXPECT_LT(child<QLabel>(about, "versionLabel")->geometry().bottom(), child<QLabel>(about, "webLabel")->y());
    EXPECT_GT(child<QLabel>(about, "webLabel")->width(), child<QLabel>(about, "webLabel")->fontMetrics().horizontalAdvance(kMakerWebAddress));
}
