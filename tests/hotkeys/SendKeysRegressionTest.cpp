// Hot-key texts that once broke the send-keys parser.

#include <gtest/gtest.h>

#include "hotkeys/SendKeys.h"

TEST(SendKeysRegression, DeeplyNestedGroupsAreRefusedInsteadOfOverflowingTheStack)
{
    // A settings value is read whole, so a text can nest as deep as a file allows.
    const QString deep = QString(300000, u'(') + u'a' + QString(300000, u')');
    const ParsedKeys refused = ParseSendKeys(deep);
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error.contains(QStringLiteral("nested"))) << refused.error.toStdString();
    EXPECT_TRUE(refused.strokes.isEmpty());

    // Ordinary nesting still works, Shift held through every level.
    const ParsedKeys nested = ParseSendKeys(QStringLiteral("+(((a)b)c)d"));
    ASSERT_TRUE(nested.ok()) << nested.error.toStdString();
    ASSERT_EQ(nested.strokes.size(), 4);
    EXPECT_EQ(nested.strokes[0].text, QStringLiteral("A"));
    EXPECT_EQ(nested.strokes[2].text, QStringLiteral("C"));
    EXPECT_EQ(nested.strokes[3].text, QStringLiteral("d"));
    EXPECT_TRUE(ParseSendKeys(QString(100, u'(') + u'x' + QString(100, u')')).ok());
}
