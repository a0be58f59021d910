#pragma once
// The hot-key texts in their three forms, and the hot-key entries of the settings file.
//
// stored form:    the settings file; the keystroke form with every blank written as the
//                 substitution character
// keystroke form: what the program holds and sends; send-keys notation
// display form:   the Settings dialog and the button tooltips; the keystroke form without braces

#include <QString>
#include <QStringList>
#include <optional>

// Display form: every "{" and "}" removed, nothing else changed ("{(}Ref{)}" -> "(Ref)").
QString KeysToText(const QString& text);
// Keystroke form: "(" and ")" quoted as "{(}" and "{)}"; every other character kept as typed.
QString TextToKeys(const QString& text);

struct HotKeyEntry {
    QString caption;
    int code = 0;
    QString text;   // keystroke form, blanks restored
};

// Splits a settings value "caption,code,text" at its first two commas; nullopt when it has
// fewer than two. The code is the leading number of the middle field, rounded (0 when none).
std::optional<HotKeyEntry> ParseHotKeyEntry(const QString& value, const QString& spaceChar);
// The settings value for an entry: blanks of the text written as spaceChar.
QString ComposeHotKeyEntry(const QString& caption, int code, const QString& keysText,
                           const QString& spaceChar);


inline constexpr int kMaxHotKeys = 5;
