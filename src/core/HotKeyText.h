#pragma once
// The hot-key texts in their three forms, the hot-key entries of the settings file, and the
// send-keys notation the texts are written in, parsed into keystrokes:
//
//   + ^ %          Shift, Ctrl, Alt for the next key, or for a group in parentheses: +(ab)
//   ~              the Enter key
//   {NAME}         a named key (TAB, LEFT, F2, ...), any letter case
//   {c}            the character c itself, for the notation's own characters: {(} {+} {{} {}}
//   {NAME n} {c n} the key or character n times
//   anything else  types itself; an upper-case letter with Shift
//
// stored form:    the settings file; the keystroke form with every blank written as the
//                 substitution character
// keystroke form: what the program holds and sends; send-keys notation
// display form:   the Settings dialog and the button tooltips; the keystroke form without braces

#include <QString>
#include <QStringList>
#include <QVector>
#include <Qt>
#include <optional>

// Display form: every "{" and "}" removed, nothing else changed ("{(}Ref{)}" -> "(Ref)").
QString keysToText(const QString& text);
// Keystroke form: "(" and ")" quoted as "{(}" and "{)}"; every other character kept as typed.
QString textToKeys(const QString& text);

struct HotKeyEntry {
    QString caption;
    int code = 0;
    QString text;   // keystroke form, blanks restored
};

// Splits a settings value "caption,code,text" at its first two commas; nullopt when it has
// fewer than two. The code is the leading number of the middle field, rounded (0 when none).
std::optional<HotKeyEntry> parseHotKeyEntry(const QString& value, const QString& spaceChar);
// The settings value for an entry: blanks of the text written as spaceChar.
QString composeHotKeyEntry(const QString& caption, int code, const QString& keysText,
                           const QString& spaceChar);


inline constexpr int kMaxHotKeys = 5;

struct KeyStroke {
    Qt::Key key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers;
    QString text;   // what the key types; empty for keys that type nothing

    bool operator==(const KeyStroke&) const = default;
};

struct ParsedKeys {
    QVector<KeyStroke> strokes;
    QString error;  // why the text is not valid notation; "" when it is
    bool ok() const { return error.isEmpty(); }
};

// Splits a keystroke-form text into keystrokes, or says why it is not valid notation.
ParsedKeys parseSendKeys(const QString& keysText);
