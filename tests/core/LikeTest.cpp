// The LIKE of saved selections: Access wildcards and classes, Unicode case, in linear time.

#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

#include "core/Like.h"

using db::likeMatch;

namespace {

bool like(const char* pattern, const char* text, char32_t escape = 0)
{
    return likeMatch(QString::fromUtf8(pattern), QString::fromUtf8(text), escape);
}

// Plain dynamic-programming matcher for the wildcard-only subset.
bool reference(const QString& p, const QString& t)
{
    std::vector<std::vector<bool>> ok(size_t(p.size() + 1), std::vector<bool>(size_t(t.size() + 1)));
    ok[0][0] = true;
    for (qsizetype i = 1; i <= p.size(); ++i)
        for (qsizetype j = 0; j <= t.size(); ++j)
            ok[i][j] = (p[i - 1] == u'*' || p[i - 1] == u'%')
                ? ok[i - 1][j] || (j > 0 && ok[i][j - 1])
                : j > 0 && ok[i - 1][j - 1]
                    && (p[i - 1] == u'?' || p[i - 1] == u'_' || p[i - 1].toCaseFolded() == t[j - 1].toCaseFolded());
    return ok[size_t(p.size())][size_t(t.size())];
}

} // namespace

TEST(Like, DigitsClassesEscapeUnicodeCaseAndWildcardsWithoutBacktracking)
{
    EXPECT_TRUE(like("19##", "1984") && !like("19##", "19x4"));
    EXPECT_TRUE(like("#", "٣"));  // Arabic-Indic digit three
    EXPECT_TRUE(like("ΣΟΦΙΑ", "σοφια"));
    EXPECT_FALSE(like("ecole", "école"));
    // A character outside the basic plane counts as one character.
    EXPECT_TRUE(like("a?b", "a\xF0\x9F\x93\x9D" "b"));
    EXPECT_TRUE(like("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"));  // Deseret capital/small

    EXPECT_TRUE(like("[abc]at", "Bat"));
    EXPECT_TRUE(like("[!a-m]*", "Nightjar"));
    EXPECT_FALSE(like("[^0-9]", "5"));
    EXPECT_TRUE(like("[É]", "é"));
    EXPECT_TRUE(like("[]x]", "]"));    // ']' first is a member
    EXPECT_FALSE(like("[*?]", "a"));   // wildcards inside a class are plain members
    EXPECT_TRUE(like("[abc", "[abc")); // an unclosed class is a literal '['
    EXPECT_TRUE(like("50\\%", "50%", U'\\') && !like("50\\%", "50x", U'\\'));
    EXPECT_FALSE(like("abc\\", "abc\\", U'\\'));  // a lone escape at the end matches nothing

    // The wildcards alone, against a plain matcher.
    QRandomGenerator random(20240611);
    for (int round = 0; round < 20000; ++round) {
        QString pattern, text;
        for (int i = random.bounded(8); i > 0; --i)
            pattern += QStringLiteral("aAb*%?_")[random.bounded(7)];
        for (int i = random.bounded(10); i > 0; --i)
            text += QStringLiteral("aAbB")[random.bounded(4)];
        ASSERT_EQ(likeMatch(pattern, text), reference(pattern, text)) << qPrintable(pattern + " vs " + text);
    }

    // Exponential backtracking would never finish these.
    const QString text(20000, u'a');
    const QString runs = QStringLiteral("*a").repeated(40);
    EXPECT_FALSE(likeMatch(runs + QStringLiteral("*b"), text));
    EXPECT_TRUE(likeMatch(runs + QStringLiteral("*"), text));
    EXPECT_FALSE(likeMatch(QStringLiteral("%[a-c]_").repeated(30) + QStringLiteral("#"), text));
}
