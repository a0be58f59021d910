// The hot-key entries of the settings file ("caption,code,text") and the text forms:
// any value either splits or is refused, and what the Settings dialog writes back reads
// back the same.

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "core/HotKeyText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    // Start-up accepts exactly one character other than a blank.
    QString spaceChar = QString::fromUtf8(data.ConsumeBytesAsString(1));
    if (spaceChar.size() != 1 || spaceChar[0].isSpace())
        spaceChar = QStringLiteral("_");
    const QString value = QString::fromUtf8(data.ConsumeRemainingBytesAsString());

    const std::optional<HotKeyEntry> entry = parseHotKeyEntry(value, spaceChar);
    FUZZ_CHECK(entry.has_value() == (value.count(QLatin1Char(',')) >= 2), value);
    if (!entry)
        return 0;
    FUZZ_CHECK(!entry->caption.contains(QLatin1Char(',')), value);
    FUZZ_CHECK(!entry->text.contains(spaceChar), value);

    // Written back by the Settings dialog and read again at the next start.
    const QString stored = composeHotKeyEntry(entry->caption, entry->code, entry->text, spaceChar);
    const std::optional<HotKeyEntry> again = parseHotKeyEntry(stored, spaceChar);
    FUZZ_CHECK(again && again->caption == entry->caption && again->code == entry->code && again->text == entry->text,
               QStringLiteral("%1 -> %2").arg(value, stored));

    // The dialog shows the display form and stores the keystroke form of what is typed.
    const QString typed = keysToText(entry->text);
    FUZZ_CHECK(!typed.contains(QLatin1Char('{')) && !typed.contains(QLatin1Char('}')), typed);
    FUZZ_CHECK(keysToText(textToKeys(typed)) == typed, typed);
    return 0;
}
