// The database's like(): compared with a plain backtracking matcher on a small alphabet,
// and on any text a pattern that quotes every character matches that text. A slow match
// shows as a libFuzzer time-out.

#include <QList>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

#include "FuzzCheck.h"
#include "core/Like.h"

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// The pattern read as it is matched, element by element, with memoised backtracking.
class Reference {
public:
    Reference(const std::string& pattern, const std::string& text, char escape)
        : p(pattern), t(text), esc(escape), memo((p.size() + 1) * (t.size() + 1), -1)
    {
    }

    bool match(size_t i, size_t j)
    {
        int& known = memo[i * (t.size() + 1) + j];
        if (known < 0)
            known = compute(i, j) ? 1 : 0;
        return known == 1;
    }

private:
    bool compute(size_t i, size_t j)
    {
        if (i == p.size())
            return j == t.size();
        const char c = p[i];
        if (esc && c == esc) {
            if (i + 1 == p.size())
                return false;  // a lone escape at the end matches nothing
            return j < t.size() && lower(p[i + 1]) == lower(t[j]) && match(i + 2, j + 1);
        }
        if (c == '*' || c == '%')
            return match(i + 1, j) || (j < t.size() && match(i, j + 1));
        if (j == t.size())
            return false;
        const char x = t[j];
        if (c == '?' || c == '_')
            return match(i + 1, j + 1);
        if (c == '#')
            return x >= '0' && x <= '9' && match(i + 1, j + 1);
        if (c == '[') {
            size_t k = i + 1;
            bool negated = false;
            if (k < p.size() && (p[k] == '!' || p[k] == '^')) {
                negated = true;
                ++k;
            }
            bool found = false;
            bool first = true;
            while (k < p.size()) {
                if (p[k] == ']' && !first)
                    return found != negated && match(k + 1, j + 1);
                first = false;
                if (k + 2 < p.size() && p[k + 1] == '-' && p[k + 2] != ']') {
                    const char low = std::min(p[k], p[k + 2]);
                    const char high = std::max(p[k], p[k + 2]);
                    for (char f : {x, lower(x), upper(x)})
                        found = found || (f >= low && f <= high);
                    k += 3;
                } else {
                    found = found || lower(p[k]) == lower(x);
                    ++k;
                }
            }
            // No closing bracket: the '[' is an ordinary character.
        }
        return lower(c) == lower(x) && match(i + 1, j + 1);
    }

    const std::string& p;
    const std::string& t;
    const char esc;
    std::vector<int> memo;
};

std::string fromAlphabet(FuzzedDataProvider& data, size_t maxLength)
{
    static const char kAlphabet[] = "aAbB1*%?_#[]!^-\\z";
    std::string s;
    const size_t length = data.ConsumeIntegralInRange<size_t>(0, maxLength);
    for (size_t i = 0; i < length && data.remaining_bytes() > 0; ++i)
        s += kAlphabet[data.ConsumeIntegralInRange<size_t>(0, sizeof kAlphabet - 2)];
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        const char escape = data.ConsumeBool() ? '\\' : 0;
        const std::string pattern = fromAlphabet(data, 24);
        const std::string text = fromAlphabet(data, 24);
        const bool expected = Reference(pattern, text, escape).match(0, 0);
        const QString p = QString::fromLatin1(pattern);
        const QString t = QString::fromLatin1(text);
        const bool got = escape ? db::likeMatch(p, t, U'\\') : db::likeMatch(p, t);
        FUZZ_CHECK(got == expected, QStringLiteral("like('%1', '%2'%3) gave %4")
                                        .arg(p, t, escape ? QStringLiteral(", '\\'") : QString())
                                        .arg(got));
        return 0;
    }

    // Any text, long patterns: no crash, no slow path.
    const QString pattern = QString::fromUtf8(data.ConsumeRandomLengthString(2000));
    const QString text = QString::fromUtf8(data.ConsumeRemainingBytesAsString());
    (void)db::likeMatch(pattern, text);
    (void)db::likeMatch(pattern, text, U'~');
    FUZZ_CHECK(db::likeMatch(QStringLiteral("*"), text), text);

    // Every character escaped: matches the text itself, and ignores letter case.
    QString quoted;
    for (const char32_t c : text.toUcs4())
        quoted += QStringLiteral("~") + QString::fromUcs4(&c, 1);
    FUZZ_CHECK(db::likeMatch(quoted, text, U'~'), text);
    FUZZ_CHECK(db::likeMatch(quoted, text.toLower(), U'~') || text.toLower().size() != text.size(), text);
    return 0;
}
