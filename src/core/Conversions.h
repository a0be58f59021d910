#pragma once
// Conversions of settings texts to numbers, as the settings file has always read them.

#include <QByteArrayView>
#include <QString>

// The number at the start of text (blanks before it allowed), 0 when it has none:
// " 113x" is 113, "2.5" is 2.5, "abc" is 0.
double leadingNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even one, clamped to int.
int roundHalfEven(double value);

// UTF-8 text as stored, every character kept: QString::fromUtf8 would drop a leading
// U+FEFF, which at the start of a stored value is part of the value.
QString textFromUtf8(QByteArrayView bytes);
