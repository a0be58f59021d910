#pragma once
// Typing a hot-key text: a parser of the send-keys notation, and a sender that queues the
// keystrokes for whichever widget has the focus.
//
//   + ^ %          Shift, Ctrl, Alt for the next key, or for a group in parentheses: +(ab)
//   ~              the Enter key
//   {NAME}         a named key (TAB, LEFT, F2, ...), any letter case
//   {c}            the character c itself, for the notation's own characters: {(} {+} {{} {}}
//   {NAME n} {c n} the key or character n times
//   anything else  types itself; an upper-case letter with Shift

#include <QString>
#include <QVector>
#include <Qt>

class QKeyEvent;

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
ParsedKeys ParseSendKeys(const QString& keysText);

// Queues the keystrokes of the text and returns at once. Each keystroke goes, as a key press
// and release, to the widget that has the focus when it is its turn, so "{TAB}" moves the
// focus and the keys after it land in the next field. The events pass through application
// and object event filters like typed keys. A text that is not valid notation types nothing;
// the result is the reason ("" when the keys were queued).
QString SendKeys(const QString& keysText);

// True for the key events SendKeys produces, so that hot-key matching can ignore them.
bool IsSentKey(const QKeyEvent* event);

// True while keystrokes queued by SendKeys have not all been delivered yet.
bool SendKeysPending();
