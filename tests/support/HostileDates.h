#pragma once
// Stored dates a file may hold, as SQL literals, with the date each reads as under either
// rule (an invalid QDate: no date). Every reader of stored dates is tried on all of them.

#include <QDate>
#include <vector>

struct HostileDate {
    const char* sql;
    QDate positiveOnly;
    QDate any;
};

inline const std::vector<HostileDate>& hostileDates()
{
    static const std::vector<HostileDate> dates = {
        {"-5", {}, {1899, 12, 25}}, {"0", {}, {}}, {"45", {1900, 2, 13}, {1900, 2, 13}},
        {"36526.75", {2000, 1, 1}, {2000, 1, 1}}, {"-1.5", {}, {1899, 12, 29}}, {"'-5'", {}, {1899, 12, 25}},
        {"' 45 '", {1900, 2, 13}, {1900, 2, 13}}, {"'2024-02-29'", {2024, 2, 29}, {2024, 2, 29}}, {"'2024-02-30'", {}, {}},
        {"'2024-13-01'", {}, {}}, {"'1899-12-25'", {1899, 12, 25}, {1899, 12, 25}},  // typed, not a day number
        {"'0001-01-01'", {1, 1, 1}, {1, 1, 1}}, {"'0000-01-01'", {}, {}}, {"'9999-12-31'", {9999, 12, 31}, {9999, 12, 31}},
        {"'2024-03-04 10:00:00'", {2024, 3, 4}, {2024, 3, 4}}, {"'2024-03-04x'", {}, {}},
        {"x'323032342d30332d3034'", {2024, 3, 4}, {2024, 3, 4}},  // '2024-03-04' as a blob
        {"'rubbish'", {}, {}}, {"2958465", {9999, 12, 31}, {9999, 12, 31}}, {"2958466", {}, {}},
        {"-657434", {}, {100, 1, 1}}, {"-657435", {}, {}}, {"9223372036854775807", {}, {}}, {"1e300", {}, {}},
    };
    return dates;
}
