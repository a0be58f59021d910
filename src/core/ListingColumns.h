#pragma once
// What each view lists: its columns, how each cell is shown, and reading the rows of a
// fill statement into cell texts.

#include <QString>
#include <QVector>
#include <optional>
#include <vector>

#include "core/Money.h"
#include "core/Overdue.h"
#include "core/ShortDateFormat.h"
#include "core/StoredDate.h"
#include "core/View.h"

namespace SQLite { class Database; }

enum class CellFormat {
    Text,          // the value as text, Null empty
    YesNo,         // "Yes" when true, "No" otherwise (Null included)
    Date,          // a stored date in the short date format by the column's rule; no date empty
    Money,         // an amount in the currency's format; Null empty
};

struct ColumnDef {
    QString header;
    QString source;   // column of the view's query
    CellFormat format;
    DateRule dateRule = DateRule::PositiveOnly;  // CellFormat::Date only
};

const QVector<ColumnDef>& viewColumns(View view);
QString noRecordsText(View view);
// The left column that brings the last column into view.
int maxLeftCol(View view);

// A listing's cell texts, row-major. Each distinct text is kept once and the cells that
// show it refer to it: a listing repeats statuses, dates, publishers and Yes/No thousands
// of times, and an index costs neither memory nor a reference count to copy or free.
struct CellTable {
    std::vector<QString> texts{QString()};  // [0] is the empty text
    std::vector<quint32> cells;             // indexes into texts

    const QString& at(size_t cell) const { return texts[cells[cell]]; }
    // The index of a text for a new cell: its own entry, or [0] for the empty text.
    quint32 add(const QString& text);
};

struct FillResult {
    bool ok = false;
    // Stopped on request (see QueryGuard) before the last row: not ok, no rows, and error
    // says it was cancelled rather than giving an engine fault.
    bool cancelled = false;
    QString error;                 // the engine's text when !ok
    std::vector<int> ids;          // one per row
    CellTable cells;               // viewColumns(view).size() per row
    // With an overdue rule, when the statement has the columns that decide it: the listed
    // submissions that are overdue, by ID.
    std::optional<QHash<int, OverdueInfo>> overdue;
};

// A view's column captions, and a fill's rows as lists of cell texts: the listing as an
// export writes it.
QStringList listingHeader(View view);
QList<QStringList> listingRows(const FillResult& rows, View view);

// Runs statement (checked to be one read-only statement) and formats every cell.
// expectedRows: room made at once (the size of the last fill is a good guess).
// overdueRule: also find the overdue rows as they are read, sparing a second statement.
// currency: how amounts are shown; null: the locale's currency.
FillResult readFillRows(SQLite::Database& database, View view, const QString& statement, int expectedRows = 0,
                        const OverdueRule* overdueRule = nullptr, const Currency* currency = nullptr);
