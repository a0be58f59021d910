#include "core/Like.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <vector>

namespace db {

namespace {

// One pattern element. Every element except AnyRun matches exactly one character,
// which is what lets the matcher below get by with a single restart point.
struct Token {
    enum Kind { Literal, AnyChar, Digit, Class, AnyRun } kind;
    char32_t ch = 0;      // Literal: the case-folded character
    qsizetype first = 0;  // Class: its items in Pattern::items
    qsizetype count = 0;
    bool negated = false;
};

struct ClassItem {
    char32_t low;
    char32_t high;
};

struct Pattern {
    std::vector<Token> tokens;
    std::vector<ClassItem> items;
    bool valid = true;  // false when the pattern ends in a lone escape: matches nothing
};

char32_t fold(char32_t c)
{
    return QChar::toCaseFolded(c);
}

// Tries to read a class starting just after '[' at index start; returns the index after
// its closing ']' or -1 when there is no closing bracket.
qsizetype parseClass(const QList<uint>& p, qsizetype start, Pattern& out, Token& token)
{
    qsizetype i = start;
    const qsizetype n = p.size();
    token.kind = Token::Class;
    token.first = qsizetype(out.items.size());
    if (i < n && (p[i] == '!' || p[i] == '^')) {
        token.negated = true;
        ++i;
    }
    bool firstItem = true;
    while (i < n) {
        const char32_t c = p[i];
        if (c == ']' && !firstItem) {
            token.count = qsizetype(out.items.size()) - token.first;
            return i + 1;
        }
        firstItem = false;
        // "a-z" is a range unless the '-' is the class's last character.
        if (i + 2 < n && p[i + 1] == '-' && p[i + 2] != ']') {
            char32_t low = c;
            char32_t high = p[i + 2];
            if (low > high)
                std::swap(low, high);
            out.items.push_back({low, high});
            i += 3;
        } else {
            out.items.push_back({c, c});
            ++i;
        }
    }
    out.items.resize(size_t(token.first));
    return -1;
}

Pattern compile(QStringView text, char32_t escape)
{
    const QList<uint> p = text.toUcs4();
    Pattern out;
    const qsizetype n = p.size();
    for (qsizetype i = 0; i < n;) {
        const char32_t c = p[i];
        Token token{Token::Literal};
        if (escape != 0 && c == escape) {
            if (i + 1 >= n) {
                out.valid = false;
                return out;
            }
            token.ch = fold(p[i + 1]);
            i += 2;
        } else if (c == '*' || c == '%') {
            // Consecutive runs are one run.
            if (out.tokens.empty() || out.tokens.back().kind != Token::AnyRun)
                out.tokens.push_back({Token::AnyRun});
            ++i;
            continue;
        } else if (c == '?' || c == '_') {
            token.kind = Token::AnyChar;
            ++i;
        } else if (c == '#') {
            token.kind = Token::Digit;
            ++i;
        } else if (c == '[') {
            const qsizetype next = parseClass(p, i + 1, out, token);
            if (next < 0) {
                token = Token{Token::Literal};
                token.ch = '[';
                ++i;
            } else {
                i = next;
            }
        } else {
            token.ch = fold(c);
            ++i;
        }
        out.tokens.push_back(token);
    }
    return out;
}

bool inClass(const Pattern& pattern, const Token& token, char32_t c)
{
    // Ranges are compared in every letter case of the character so that [a-z] and
    // [A-Z] both take letters of either case.
    const char32_t forms[] = {c, fold(c), QChar::toLower(c), QChar::toUpper(c)};
    bool found = false;
    for (qsizetype k = 0; k < token.count && !found; ++k) {
        const ClassItem& item = pattern.items[size_t(token.first + k)];
        for (char32_t f : forms) {
            if (item.low == item.high ? fold(item.low) == fold(f)
                                      : (f >= item.low && f <= item.high)) {
                found = true;
                break;
            }
        }
    }
    return found != token.negated;
}

bool matchOne(const Pattern& pattern, const Token& token, char32_t c)
{
    switch (token.kind) {
    case Token::Literal:
        return token.ch == fold(c);
    case Token::AnyChar:
        return true;
    case Token::Digit:
        return QChar::isDigit(c);
    case Token::Class:
        return inClass(pattern, token, c);
    case Token::AnyRun:
        break;
    }
    return false;
}

bool match(const Pattern& pattern, QStringView textView)
{
    if (!pattern.valid)
        return false;
    const QList<uint> text = textView.toUcs4();
    const std::vector<Token>& tokens = pattern.tokens;
    const size_t m = tokens.size();
    const qsizetype n = text.size();

    // Greedy scan with one restart point: on a mismatch, the last run seen takes one
    // more character and matching resumes after it. Worst case O(n * m), never worse.
    size_t p = 0;
    qsizetype t = 0;
    size_t restartP = m + 1;  // none yet
    qsizetype restartT = 0;
    while (t < n) {
        if (p < m && tokens[p].kind == Token::AnyRun) {
            restartP = ++p;
            restartT = t;
        } else if (p < m && matchOne(pattern, tokens[p], text[t])) {
            ++p;
            ++t;
        } else if (restartP <= m) {
            p = restartP;
            t = ++restartT;
        } else {
            return false;
        }
    }
    while (p < m && tokens[p].kind == Token::AnyRun)
        ++p;
    return p == m;
}

} // namespace

bool likeMatch(QStringView pattern, QStringView text)
{
    return match(compile(pattern, 0), text);
}

bool likeMatch(QStringView pattern, QStringView text, char32_t escape)
{
    return match(compile(pattern, escape), text);
}

} // namespace db
