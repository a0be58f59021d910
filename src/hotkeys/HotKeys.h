#pragma once
// The hot-key texts in their three forms, and the hot-key entries of the settings file.
//
// stored form:    the settings file; the keystroke form with every blank written as gSpaceChar
// keystroke form: gHotKeyTexts and what is sent; send-keys notation
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

// Reads keys "1" to "5" of section "Hot-Keys" into gHotKeyCount, gHotKeyCaptions, gHotKeyCodes
// and gHotKeyTexts, stopping at the first missing or empty key. An entry that cannot be split
// ends the list there, and a warning saying so is appended to warnings (when given).
// gSpaceChar must already hold the substitution character.
void LoadHotKeys(QStringList* warnings = nullptr);

inline constexpr int kMaxHotKeys = 5;
