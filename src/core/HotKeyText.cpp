#include "core/HotKeyText.h"

#include <QHash>

#include <QStringList>

#include "core/Conversions.h"

QString keysToText(const QString& text)
{
    QString result = text;
    result.remove(QLatin1Char('{'));
    result.remove(QLatin1Char('}'));
    return result;
}

QString textToKeys(const QString& text)
{
    QString result;
    result.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('('))
            result += QStringLiteral("{(}");
        else if (c == QLatin1Char(')'))
            result += QStringLiteral("{)}");
        else
            result += c;
    }
    return result;
}


std::optional<HotKeyEntry> parseHotKeyEntry(const QString& value, const QString& spaceChar)
{
    const qsizetype first = value.indexOf(QLatin1Char(','));
    if (first < 0)
        return std::nullopt;
    const qsizetype second = value.indexOf(QLatin1Char(','), first + 1);
    if (second < 0)
        return std::nullopt;

    HotKeyEntry entry;
    entry.caption = value.left(first);
    entry.code = roundHalfEven(leadingNumber(value.mid(first + 1, second - first - 1)));
    entry.text = value.mid(second + 1);
    // An empty pattern would insert a blank between every character.
    if (!spaceChar.isEmpty())
        entry.text.replace(spaceChar, QStringLiteral(" "));
    return entry;
}

QString composeHotKeyEntry(const QString& caption, int code, const QString& keysText,
                           const QString& spaceChar)
{
    QString text = keysText;
    if (!spaceChar.isEmpty())
        text.replace(QLatin1Char(' '), spaceChar);
    return caption + QLatin1Char(',') + QString::number(code) + QLatin1Char(',') + text;
}


// --- The send-keys notation ---

namespace {

// A repeat count beyond this is a typing mistake, not a wish to post a million key events.
constexpr int kMaxRepeat = 10000;
constexpr int kMaxNesting = 100;

const QString kUnshifted = QStringLiteral("`1234567890-=[]\\;',./");
const QString kShifted = QStringLiteral("~!@#$%^&*()_+{}|:\"<>?");

struct NamedKey {
    Qt::Key key;
    QString text;
    bool keypad = false;
};

const QHash<QString, NamedKey>& namedKeys()
{
    static const QHash<QString, NamedKey> keys = [] {
        QHash<QString, NamedKey> k;
        const NamedKey backspace{Qt::Key_Backspace, QStringLiteral("\b")};
        k.insert(QStringLiteral("BACKSPACE"), backspace);
        k.insert(QStringLiteral("BS"), backspace);
        k.insert(QStringLiteral("BKSP"), backspace);
        k.insert(QStringLiteral("BREAK"), {Qt::Key_Pause, QString()});
        k.insert(QStringLiteral("CAPSLOCK"), {Qt::Key_CapsLock, QString()});
        const NamedKey del{Qt::Key_Delete, QStringLiteral("\x7f")};
        k.insert(QStringLiteral("DELETE"), del);
        k.insert(QStringLiteral("DEL"), del);
        k.insert(QStringLiteral("DOWN"), {Qt::Key_Down, QString()});
        k.insert(QStringLiteral("END"), {Qt::Key_End, QString()});
        k.insert(QStringLiteral("ENTER"), {Qt::Key_Return, QStringLiteral("\r")});
        k.insert(QStringLiteral("ESC"), {Qt::Key_Escape, QStringLiteral("\x1b")});
        k.insert(QStringLiteral("HELP"), {Qt::Key_Help, QString()});
        k.insert(QStringLiteral("HOME"), {Qt::Key_Home, QString()});
        k.insert(QStringLiteral("INSERT"), {Qt::Key_Insert, QString()});
        k.insert(QStringLiteral("INS"), {Qt::Key_Insert, QString()});
        k.insert(QStringLiteral("LEFT"), {Qt::Key_Left, QString()});
        k.insert(QStringLiteral("NUMLOCK"), {Qt::Key_NumLock, QString()});
        k.insert(QStringLiteral("PGDN"), {Qt::Key_PageDown, QString()});
        k.insert(QStringLiteral("PGUP"), {Qt::Key_PageUp, QString()});
        k.insert(QStringLiteral("PRTSC"), {Qt::Key_Print, QString()});
        k.insert(QStringLiteral("RIGHT"), {Qt::Key_Right, QString()});
        k.insert(QStringLiteral("SCROLLLOCK"), {Qt::Key_ScrollLock, QString()});
        k.insert(QStringLiteral("TAB"), {Qt::Key_Tab, QStringLiteral("\t")});
        k.insert(QStringLiteral("UP"), {Qt::Key_Up, QString()});
        for (int f = 1; f <= 16; ++f)
            k.insert(QStringLiteral("F%1").arg(f), {Qt::Key(Qt::Key_F1 + f - 1), QString()});
        k.insert(QStringLiteral("ADD"), {Qt::Key_Plus, QStringLiteral("+"), true});
        k.insert(QStringLiteral("SUBTRACT"), {Qt::Key_Minus, QStringLiteral("-"), true});
        k.insert(QStringLiteral("MULTIPLY"), {Qt::Key_Asterisk, QStringLiteral("*"), true});
        k.insert(QStringLiteral("DIVIDE"), {Qt::Key_Slash, QStringLiteral("/"), true});
        return k;
    }();
    return keys;
}

// A character as a key of a US keyboard: the key, whether it needs Shift, the text.
KeyStroke charStroke(const QString& ch, Qt::KeyboardModifiers held)
{
    KeyStroke s;
    s.text = ch;
    const char32_t code = ch.size() == 2 ? QChar::surrogateToUcs4(ch[0], ch[1]) : ch[0].unicode();

    if (code == U' ') {
        s.key = Qt::Key_Space;
    } else if (code == U'\t') {
        s.key = Qt::Key_Tab;
    } else if (code == U'\n' || code == U'\r') {
        s.key = Qt::Key_Return;
        s.text = QStringLiteral("\r");
    } else if (code < 0x20 || code == 0x7f) {
        s.key = Qt::Key_unknown;
    } else {
        // Qt names printable keys by the upper-case form of their character.
        s.key = Qt::Key(QChar::toUpper(code));
        if (QChar::isUpper(code) && QChar::toLower(code) != code)
            s.modifiers |= Qt::ShiftModifier;
        else if (code < 0x80 && kShifted.contains(QChar(char16_t(code))))
            s.modifiers |= Qt::ShiftModifier;
    }

    if (held & Qt::ShiftModifier) {
        // Shift held by "+" turns a letter or a US key's lower character into its upper one.
        const qsizetype unshifted = ch.size() == 1 ? kUnshifted.indexOf(ch[0]) : -1;
        if (unshifted >= 0) {
            s.text = kShifted.mid(unshifted, 1);
            s.key = Qt::Key(s.text[0].unicode());
        } else if (QChar::isLower(code)) {
            s.text = ch.toUpper();
        }
    }
    s.modifiers |= held;
    // With Ctrl or Alt held the key is a command, not typing (^a selects all, %f opens a menu).
    if (held & (Qt::ControlModifier | Qt::AltModifier))
        s.text.clear();
    return s;
}

KeyStroke namedStroke(const NamedKey& named, Qt::KeyboardModifiers held)
{
    KeyStroke s{named.key, held, named.text};
    if (held & (Qt::ControlModifier | Qt::AltModifier))
        s.text.clear();
    if (named.keypad)
        s.modifiers |= Qt::KeypadModifier;
    // Shift+Tab reaches widgets as Backtab, as it does from the keyboard.
    if (s.key == Qt::Key_Tab && (held & Qt::ShiftModifier))
        s.key = Qt::Key_Backtab;
    return s;
}

QString modifierName(QChar c)
{
    return QStringLiteral("\"%1\"").arg(c);
}

class Parser {
public:
    explicit Parser(const QString& text) : mText(text) {}

    ParsedKeys run()
    {
        ParsedKeys result;
        if (sequence(Qt::NoModifier, false))
            result.strokes = mStrokes;
        else
            result.error = mError;
        return result;
    }

private:
    bool fail(const QString& reason)
    {
        mError = reason;
        return false;
    }

    void addStroke(const KeyStroke& stroke, int count)
    {
        for (int i = 0; i < count; ++i)
            mStrokes.push_back(stroke);
    }

    // Keys up to the end of the text, or up to the ")" that closes a group.
    bool sequence(Qt::KeyboardModifiers outer, bool inGroup)
    {
        Qt::KeyboardModifiers pending;
        QChar lastModifier;
        while (mPos < mText.size()) {
            const QChar c = mText[mPos];
            if (c == u'+' || c == u'^' || c == u'%') {
                pending |= c == u'+' ? Qt::ShiftModifier
                         : c == u'^' ? Qt::ControlModifier : Qt::AltModifier;
                lastModifier = c;
                ++mPos;
                continue;
            }
            const Qt::KeyboardModifiers held = outer | pending;
            if (c == u')') {
                if (!inGroup)
                    return fail(QStringLiteral("\")\" without \"(\""));
                if (pending)
                    return fail(QStringLiteral("%1 has no key after it").arg(modifierName(lastModifier)));
                return true;
            }
            if (c == u'(') {
                // Groups nest by recursion; a hand-edited text must not exhaust the stack.
                if (mDepth >= kMaxNesting)
                    return fail(QStringLiteral("Groups are nested more than %1 deep").arg(kMaxNesting));
                ++mPos;
                ++mDepth;
                const bool closed = sequence(held, true);
                --mDepth;
                if (!closed)
                    return false;
                if (mPos >= mText.size())
                    return fail(QStringLiteral("\"(\" without \")\""));
                ++mPos;  // the ")"
            } else if (c == u'~') {
                addStroke(namedStroke(namedKeys().value(QStringLiteral("ENTER")), held), 1);
                ++mPos;
            } else if (c == u'{') {
                if (!brace(held))
                    return false;
            } else if (c == u'}') {
                return fail(QStringLiteral("\"}\" without \"{\""));
            } else {
                const qsizetype length =
                    c.isHighSurrogate() && mPos + 1 < mText.size() && mText[mPos + 1].isLowSurrogate() ? 2 : 1;
                addStroke(charStroke(mText.mid(mPos, length), held), 1);
                mPos += length;
            }
            pending = Qt::NoModifier;
        }
        if (pending)
            return fail(QStringLiteral("%1 has no key after it").arg(modifierName(lastModifier)));
        return true;
    }

    // "{...}" at mPos: a named key or a quoted character, with an optional repeat count.
    bool brace(Qt::KeyboardModifiers held)
    {
        const qsizetype open = mPos;
        qsizetype close;
        if (open + 1 < mText.size() && mText[open + 1] == u'}') {
            // "{}}" quotes a "}"; "{} 3}" repeats it.
            close = mText.indexOf(u'}', open + 2);
            if (close < 0)
                return fail(QStringLiteral("\"{}\" names no key"));
        } else {
            close = mText.indexOf(u'}', open + 1);
            if (close < 0)
                return fail(QStringLiteral("\"{\" without \"}\""));
        }
        const QString content = mText.mid(open + 1, close - open - 1);
        mPos = close + 1;

        QString name = content;
        int count = 1;
        const qsizetype blank = content.lastIndexOf(u' ');
        if (blank > 0) {
            name = content.left(blank);
            const QString countText = content.mid(blank + 1);
            bool ok = !countText.isEmpty();
            for (const QChar d : countText)
                ok = ok && d >= u'0' && d <= u'9';
            if (!ok)
                return fail(QStringLiteral("Repeat count \"%1\" is not a number").arg(countText));
            bool fits = false;
            count = countText.toInt(&fits);
            if (!fits || count > kMaxRepeat)
                return fail(QStringLiteral("Repeat count %1 is too large").arg(countText));
        }

        const bool oneChar = name.size() == 1
            || (name.size() == 2 && name[0].isHighSurrogate() && name[1].isLowSurrogate());
        if (oneChar) {
            addStroke(charStroke(name, held), count);
            return true;
        }
        const auto named = namedKeys().constFind(name.toUpper());
        if (named == namedKeys().constEnd())
            return fail(QStringLiteral("Unknown key name \"%1\"").arg(name));
        addStroke(namedStroke(*named, held), count);
        return true;
    }

    const QString& mText;
    qsizetype mPos = 0;
    int mDepth = 0;
    QVector<KeyStroke> mStrokes;
    QString mError;
};

} // namespace

ParsedKeys parseSendKeys(const QString& keysText)
{
    return Parser(keysText).run();
}
