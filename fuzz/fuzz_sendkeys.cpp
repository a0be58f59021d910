// The send-keys notation of hot-key texts: any text parses or is refused with a reason,
// never crashes or hangs, and a text written with every character quoted types exactly
// those characters.

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "gui/KeySender.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const ParsedKeys parsed = parseSendKeys(text);
    FUZZ_CHECK(parsed.ok() || parsed.strokes.isEmpty(), text);
    if (!parsed.ok())
        FUZZ_CHECK(!parsed.error.trimmed().isEmpty(), text);

    // Every character quoted as "{c}": printable characters type themselves.
    QString quoted;
    QString printable;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString ch = text.mid(i, 1);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ch = text.mid(i++, 2);
        else if (text[i].isSurrogate())
            continue;
        const char32_t code = ch.toUcs4().value(0);
        if (code < 0x20 || code == 0x7f || code == U' ')
            continue;
        quoted += QLatin1Char('{') + ch + QLatin1Char('}');
        printable += ch;
    }
    const ParsedKeys typed = parseSendKeys(quoted);
    FUZZ_CHECK(typed.ok(), QStringLiteral("%1: %2").arg(quoted, typed.error));
    QString result;
    for (const KeyStroke& stroke : typed.strokes)
        result += stroke.text;
    FUZZ_CHECK(result == printable, QStringLiteral("%1 typed %2").arg(quoted, result));
    return 0;
}
