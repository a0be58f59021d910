// The Find dialog and the About box laid out at a large font.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "main/frmAbout.h"
#include "main/frmFind.h"
#include "support/LayoutCheck.h"
#include "support/TestEnv.h"

class DialogLayoutTest : public QuillaryTest {};

TEST_F(DialogLayoutTest, FindKeepsItsCaptionBesideTheFieldAndTheOptionsBelow)
{
    LargeFont font;
    frmFind find;
    find.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&find));
    expectLaidOutWhole(&find);
    EXPECT_LT(find.lblFind->geometry().right(), find.txtFind->x());
    EXPECT_GT(find.chkCase->y(), find.txtFind->geometry().bottom());
    EXPECT_GT(find.chkCell->y(), find.chkCase->geometry().bottom());
    EXPECT_GE(find.chkCase->x(), find.txtFind->x());
    // Room for a good many characters of the text to find.
    EXPECT_GT(find.txtFind->width(), 30 * find.txtFind->fontMetrics().averageCharWidth());
}

TEST_F(DialogLayoutTest, AboutShowsTheIconBesideItsTexts)
{
    LargeFont font;
    frmAbout about(links);
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    expectLaidOutWhole(&about);
    EXPECT_LT(about.picIcon->geometry().right(), about.lblTitle->x());
    EXPECT_LT(about.lblTitle->geometry().bottom(), about.lblVersion->y());
    EXPECT_LT(about.lblVersion->geometry().bottom(), about.lblWeb->y());
    EXPECT_GT(about.lblWeb->width(), about.lblWeb->fontMetrics().horizontalAdvance(kMakerWebAddress));
}
