#pragma once
// Conversions of settings texts to numbers, as the settings file has always read them.

#include <QString>

// The number at the start of text (blanks before it allowed), 0 when it has none:
// " 113x" is 113, "2.5" is 2.5, "abc" is 0.
double LeadingNumber(const QString& text);

// Rounds to the nearest whole number, halves to the even one, clamped to int.
int RoundHalfEven(double value);
