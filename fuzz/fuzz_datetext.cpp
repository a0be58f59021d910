// Typed dates of the Submission editor: any text is a real date or nothing, and a date
// shown in the editor reads back as the same date. Any stored value reads as a date that
// stores back as itself, or as none.

#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzCheck.h"
#include "core/DateText.h"
#include "core/StoredDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(bytes), qsizetype(size));
    const std::optional<QDate> date = parseDateText(text);
    if (date) {
        FUZZ_CHECK(date->isValid(), text);
        const QString shown = formatDateText(*date);
        FUZZ_CHECK(parseDateText(shown) == date, QStringLiteral("%1 -> %2").arg(text, shown));
        const QVariant stored = encodeTypedDate(text);
        FUZZ_CHECK(stored.isValid() && formatDateText(decodeStoredDate(stored, DateRule::PositiveOnly)) == shown,
                   QStringLiteral("%1 stored as %2").arg(text, stored.toString()));
    } else if (!text.trimmed().isEmpty()) {
        // Not a date: nothing may be stored for it.
        FUZZ_CHECK(!encodeTypedDate(text).isValid(), text);
    }
    // Whatever the file holds, reading it must not crash, and what it reads as stores back
    // as the same date.
    for (const QVariant& held : {QVariant(text), QVariant(text.toLongLong()), QVariant(text.toDouble()), QVariant(text.toUtf8())}) {
        for (const DateRule rule : {DateRule::PositiveOnly, DateRule::Any}) {
            const QDate read = decodeStoredDate(held, rule);
            FUZZ_CHECK(!read.isValid() || decodeStoredDate(encodeStoredDate(read), rule) == read, text);
        }
    }
    return 0;
}
