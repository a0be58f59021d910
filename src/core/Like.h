#pragma once
// The pattern matching behind the database's like(): '*' and '%' match any run of
// characters, '?' and '_' one character, '#' one digit, "[...]" one character of a class
// ("[a-c]", "[!x]" or "[^x]" to negate); letter case is ignored (Unicode-aware).

#include <QStringView>

namespace db {
bool likeMatch(QStringView pattern, QStringView text);
// As above, with SQL's ESCAPE: the character after escape is matched literally.
bool likeMatch(QStringView pattern, QStringView text, char32_t escape);
}
