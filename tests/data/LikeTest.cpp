#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>
#include <vector>

#include "data/Like.h"

using db::likeMatch;

namespace {

bool like(const char* pattern, const char* text)
{
    return likeMatch(QString::fromUtf8(pattern), QString::fromUtf8(text));
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

TEST(Like, WildcardsDigitsAndCase)
{
    EXPECT_TRUE(like("the*", "The Raven"));
    EXPECT_FALSE(like("the*", "A Theme"));
    EXPECT_TRUE(like("*a*e*", "The Raven"));
    EXPECT_TRUE(like("r_ven", "Raven"));
    EXPECT_FALSE(like("r?ven", "Rven"));
    EXPECT_TRUE(like("%%", ""));
    EXPECT_FALSE(like("", "a"));
    EXPECT_TRUE(like("19##", "1984"));
    EXPECT_FALSE(like("19##", "19x4"));
    EXPECT_TRUE(like("#", "٣"));  // Arabic-Indic digit three
    EXPECT_TRUE(like("ΣΟΦΙΑ", "σοφια"));
    EXPECT_TRUE(like("?cole", "École"));
    EXPECT_FALSE(like("ecole", "école"));
    // A character outside the basic plane counts as one character.
    EXPECT_TRUE(like("a?b", "a\xF0\x9F\x93\x9D" "b"));
    EXPECT_TRUE(like("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"));  // Deseret capital/small
}

TEST(Like, CharacterClassesAndEscape)
{
    EXPECT_TRUE(like("[abc]at", "Bat"));
    EXPECT_FALSE(like("[a-m]*", "Nightjar"));
    EXPECT_TRUE(like("[m-a]", "f"));  // reversed range still a range
    EXPECT_TRUE(like("[!a-m]*", "Nightjar"));
    EXPECT_FALSE(like("[^0-9]", "5"));
    EXPECT_TRUE(like("[É]", "é"));
    EXPECT_TRUE(like("[]x]", "]"));   // ']' first is a member
    EXPECT_FALSE(like("[!]]", "]"));
    EXPECT_TRUE(like("[a-]", "-"));
    EXPECT_FALSE(like("[*?]", "a"));  // wildcards inside a class are plain members
    EXPECT_TRUE(like("[abc", "[abc")); // an unclosed class is a literal '['
    EXPECT_FALSE(like("[ab]", "ab"));

    const auto esc = [](const char* p, const char* t) {
        return likeMatch(QString::fromUtf8(p), QString::fromUtf8(t), U'\\');
    };
    EXPECT_TRUE(esc("50\\%", "50%"));
    EXPECT_FALSE(esc("50\\%", "50x"));
    EXPECT_TRUE(esc("\\[x]", "[x]"));
    EXPECT_TRUE(esc("\\A", "a"));
    EXPECT_FALSE(esc("abc\\", "abc\\"));  // a lone escape at the end matches nothing
}

TEST(Like, AgreesWithReferenceAndStaysFast)
{
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
