// Typed dates of the Submission editor: any text is a real date or nothing, and a date
// shown in the editor reads back as the same date.

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "core/DateText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const std::optional<QDate> date = ParseDateText(text);
    if (date) {
        FUZZ_CHECK(date->isValid(), text);
        const QString shown = FormatDateText(*date);
        FUZZ_CHECK(ParseDateText(shown) == date, QStringLiteral("%1 -> %2").arg(text, shown));
        const QVariant stored = StoredDate(text);
        FUZZ_CHECK(stored.isValid() && ShowStoredDate(stored) == shown,
                   QStringLiteral("%1 stored as %2").arg(text, stored.toString()));
    } else if (!text.trimmed().isEmpty()) {
        // Not a date: nothing may be stored for it.
        FUZZ_CHECK(!StoredDate(text).isValid(), text);
    }
    // Whatever the file holds, showing it must not crash.
    (void)ShowStoredDate(QVariant(text));
    (void)ShowStoredDate(QVariant(text.toLongLong()));
    return 0;
}
