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

// Plain dynamic-programming matcher for the wildcard-only subset, to check the scanner.
bool reference(const QString& p, const QString& t)
{
    const qsizetype m = p.size(), n = t.size();
    std::vector<std::vector<bool>> ok(size_t(m + 1), std::vector<bool>(size_t(n + 1), false));
    ok[0][0] = true;
    for (qsizetype i = 1; i <= m; ++i) {
        const QChar c = p[i - 1];
        const bool run = c == u'*' || c == u'%';
        for (qsizetype j = 0; j <= n; ++j) {
            if (run)
                ok[i][j] = ok[i - 1][j] || (j > 0 && ok[i][j - 1]);
            else if (j > 0)
                ok[i][j] = ok[i - 1][j - 1]
                    && (c == u'?' || c == u'_' || c.toCaseFolded() == t[j - 1].toCaseFolded());
        }
    }
    return ok[size_t(m)][size_t(n)];
}

} // namespace

TEST(Like, WildcardsMatchRunsAndSingleCharacters)
{
    EXPECT_TRUE(like("the*", "The Raven"));
    EXPECT_TRUE(like("the%", "the"));
    EXPECT_FALSE(like("the*", "A Theme"));
    EXPECT_TRUE(like("*raven", "The Raven"));
    EXPECT_TRUE(like("*a*e*", "The Raven"));
    EXPECT_TRUE(like("r?ven", "Raven"));
    EXPECT_TRUE(like("r_ven", "Raven"));
    EXPECT_FALSE(like("r?ven", "Rven"));
    EXPECT_FALSE(like("r?ven", "Raaven"));
    EXPECT_TRUE(like("**a**", "a"));
    EXPECT_FALSE(like("abc", "abcd"));
    EXPECT_FALSE(like("abcd", "abc"));
}

TEST(Like, EmptyPatternAndText)
{
    EXPECT_TRUE(like("", ""));
    EXPECT_FALSE(like("", "a"));
    EXPECT_TRUE(like("*", ""));
    EXPECT_TRUE(like("%%", ""));
    EXPECT_FALSE(like("?", ""));
    EXPECT_FALSE(like("a", ""));
}

TEST(Like, CaseIsIgnoredBeyondAscii)
{
    EXPECT_TRUE(like("ÉCOLE", "école"));
    EXPECT_TRUE(like("école", "ÉCOLE"));
    EXPECT_TRUE(like("ΣΟΦΙΑ", "σοφια"));
    EXPECT_TRUE(like("?cole", "École"));
    EXPECT_FALSE(like("ecole", "école"));
    // A character outside the basic plane counts as one character.
    EXPECT_TRUE(like("a?b", "a\xF0\x9F\x93\x9D" "b"));
    EXPECT_TRUE(like("\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"));  // Deseret capital/small
}

TEST(Like, DigitPlaceholder)
{
    EXPECT_TRUE(like("19##", "1984"));
    EXPECT_FALSE(like("19##", "19x4"));
    EXPECT_FALSE(like("19##", "198"));
    EXPECT_TRUE(like("#", "٣"));  // Arabic-Indic digit three
    EXPECT_FALSE(like("#", "#x"));
    EXPECT_FALSE(like("#", ""));
}

TEST(Like, CharacterClasses)
{
    EXPECT_TRUE(like("[abc]at", "Bat"));
    EXPECT_FALSE(like("[abc]at", "rat"));
    EXPECT_TRUE(like("[a-m]*", "Kestrel"));
    EXPECT_FALSE(like("[a-m]*", "Nightjar"));
    EXPECT_TRUE(like("[A-Z]", "q"));
    EXPECT_TRUE(like("[m-a]", "f"));  // reversed range still a range
    EXPECT_TRUE(like("[!a-m]*", "Nightjar"));
    EXPECT_FALSE(like("[!a-m]*", "Kestrel"));
    EXPECT_TRUE(like("[^0-9]", "x"));
    EXPECT_FALSE(like("[^0-9]", "5"));
    EXPECT_TRUE(like("[É]", "é"));
    // ']' first in a class, or first after the negation mark, is a member.
    EXPECT_TRUE(like("[]x]", "]"));
    EXPECT_TRUE(like("[]x]", "x"));
    EXPECT_FALSE(like("[!]]", "]"));
    EXPECT_TRUE(like("[!]]", "a"));
    // '-' at either end is a member.
    EXPECT_TRUE(like("[-a]", "-"));
    EXPECT_TRUE(like("[a-]", "-"));
    // Wildcards inside a class are plain members.
    EXPECT_TRUE(like("[*?]", "?"));
    EXPECT_FALSE(like("[*?]", "a"));
    // An unclosed class is a literal '['.
    EXPECT_TRUE(like("[abc", "[abc"));
    EXPECT_FALSE(like("[abc", "a"));
    EXPECT_TRUE(like("a[", "a["));
    // A class takes exactly one character.
    EXPECT_FALSE(like("[ab]", "ab"));
    EXPECT_FALSE(like("[ab]", ""));
}

TEST(Like, EscapeMakesTheNextCharacterLiteral)
{
    const auto esc = [](const char* p, const char* t) {
        return likeMatch(QString::fromUtf8(p), QString::fromUtf8(t), U'\\');
    };
    EXPECT_TRUE(esc("50\\%", "50%"));
    EXPECT_FALSE(esc("50\\%", "50x"));
    EXPECT_TRUE(esc("a\\*b*", "a*bcd"));
    EXPECT_FALSE(esc("a\\*b", "axb"));
    EXPECT_TRUE(esc("\\[x]", "[x]"));
    EXPECT_TRUE(esc("\\\\", "\\"));
    EXPECT_TRUE(esc("\\A", "a"));     // still ignores case
    EXPECT_FALSE(esc("abc\\", "abc"));  // a lone escape at the end matches nothing
    EXPECT_FALSE(esc("abc\\", "abc\\"));
}

TEST(Like, AgreesWithReferenceOnRandomPatterns)
{
    QRandomGenerator random(20240611);
    const QString patternChars = QStringLiteral("aAb*%?_");
    const QString textChars = QStringLiteral("aAbB");
    for (int round = 0; round < 20000; ++round) {
        QString pattern, text;
        const int pl = random.bounded(8), tl = random.bounded(10);
        for (int i = 0; i < pl; ++i)
            pattern += patternChars[random.bounded(int(patternChars.size()))];
        for (int i = 0; i < tl; ++i)
            text += textChars[random.bounded(int(textChars.size()))];
        ASSERT_EQ(likeMatch(pattern, text), reference(pattern, text))
            << pattern.toStdString() << " vs " << text.toStdString();
    }
}

TEST(Like, HostilePatternsStayFast)
{
    // Many runs against a long text that almost matches: exponential backtracking would
    // never finish here.
    const QString text = QString(20000, u'a');
    QString pattern;
    for (int i = 0; i < 40; ++i)
        pattern += QStringLiteral("*a");
    EXPECT_FALSE(likeMatch(pattern + QStringLiteral("*b"), text));
    EXPECT_TRUE(likeMatch(pattern + QStringLiteral("*"), text));
    QString classes;
    for (int i = 0; i < 30; ++i)
        classes += QStringLiteral("%[a-c]_");
    EXPECT_FALSE(likeMatch(classes + QStringLiteral("#"), text));
}
