// LIKE beyond the fuzz target's ASCII alphabet: Unicode digits and case, linear time.

#include <QString>
#include <gtest/gtest.h>

#include "core/Like.h"

using db::likeMatch;

namespace {

bool like(const char* pattern, const char* text, char32_t escape = 0)
{
    return likeMatch(QString::fromUtf8(pattern), QString::fromUtf8(text), escape);
}

} // namespace

TEST(Like, UnicodeDigitsCaseAndClassesAndWildcardsWithoutBacktracking)
{
    EXPECT_TRUE(like("#", "٣"));  // Arabic-Indic digit three
    EXPECT_TRUE(like("ΣΟΦΙΑ", "σοφια"));
    EXPECT_FALSE(like("ecole", "école"));
    // A character outside the basic plane counts as one character.
    EXPECT_TRUE(like("a?b", "a\xF0\x9F\x93\x9D" "b"));
    EXPECT_TRUE(like("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"));  // Deseret capital/small

    EXPECT_TRUE(like("[!a-m]*", "Nightjar"));
    EXPECT_TRUE(like("[É]", "é"));

    // Exponential backtracking would never finish these.
    const QString text(20000, u'a');
    const QString runs = QStringLiteral("*a").repeated(40);
    EXPECT_FALSE(likeMatch(runs + QStringLiteral("*b"), text));
    EXPECT_TRUE(likeMatch(runs + QStringLiteral("*"), text));
    EXPECT_FALSE(likeMatch(QStringLiteral("%[a-c]_").repeated(30) + QStringLiteral("#"), text));
}
