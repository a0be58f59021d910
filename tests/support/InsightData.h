#pragma once
// Hand-made records whose figures were worked out by hand, shared by the tests of the
// figures, the Statistics window and the overdue rows; and a plain CSV reader for checking
// exported files.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace SQLite { class Database; }

// Publishers Brass Lantern, Quarto, Gone Press (deleted), Night Owl and Empty House (no
// submissions); works Hidden Ticket, Salt Road and Lost Draft (deleted); thirteen
// submissions:
//
//  id  work  publisher    sent        returned    status     days
//   1  HT    Brass        2024-01-10  2024-02-09  rejected     30
//   2  SR    Brass        2024-01-20  2024-03-20  accepted     60
//   3  HT    Brass        2024-03-01  2024-03-11  rejected     10
//   4  LD    Brass        2024-04-01  2024-05-21  published    50
//   5  SR    Brass        2024-05-01  (none)      unreturned
//   6  HT    Brass        2024-06-01  2024-05-01  rejected   returned before sent
//   7  HT    Quarto       2024-02-01  2024-02-06  rejected      5
//   8  SR    Quarto       2024-02-01  2024-02-08  rejected      7
//   9  HT    Quarto       2024-07-01  2024-07-10  rejected      9
//  10  SR    Quarto       2024-07-01  2024-07-31  accepted     30
//  11  LD    Quarto       2024-08-01  2024-08-02  rejected      1
//  12  HT    Gone Press   2025-01-15  (none)      unreturned
//  13  SR    Night Owl    (none)      2025-03-01  rejected   returned without a sent date
struct InsightRecords {
    int brass = 0, quarto = 0, gone = 0, nightOwl = 0, empty = 0;
    int hiddenTicket = 0, saltRoad = 0, lostDraft = 0;
};
InsightRecords addInsightRecords(SQLite::Database& database);

// The records of a comma-separated document, the header first; none when it cannot be read.
QList<QStringList> readCsv(const QByteArray& bytes);
