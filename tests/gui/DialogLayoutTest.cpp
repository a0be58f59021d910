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
    EXPECT_LT(find.findLabel->geometry().right(), find.findEdit->x());
    EXPECT_GT(find.matchCaseCheck->y(), find.findEdit->geometry().bottom());
    EXPECT_GT(find.wholeCellCheck->y(), find.matchCaseCheck->geometry().bottom());
    EXPECT_GE(find.matchCaseCheck->x(), find.findEdit->x());
    // Room for a good many characters of the text to find.
    EXPECT_GT(find.findEdit->width(), 30 * find.findEdit->fontMetrics().averageCharWidth());
}

TEST_F(DialogLayoutTest, AboutShowsTheIconBesideItsTexts)
{
    LargeFont font;
    AboutDialog about(links);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectLaidOutWhole(&about);
    EXPECT_LT(about.iconLabel->geometry().right(), about.titleLabel->x());
    EXPECT_LT(about.titleLabel->geometry().bottom(), about.versionLabel->y());
    EXPECT_LT(about.versionLabel->geometry().bottom(), about.webLabel->y());
    EXPECT_GT(about.webLabel->width(), about.webLabel->fontMetrics().horizontalAdvance(kMakerWebAddress));
}
