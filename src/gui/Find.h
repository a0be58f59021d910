#pragma once
// Finding text in the grid's cells, row by row and column by column, without wrapping.

#include <QString>

class Cancellation;
class ListingModel;

struct FindOptions {
    bool matchCase = false;
    bool wholeCell = false;
};

// Does the cell text match the search text under the options? An empty cell contains
// nothing; an empty search text is contained in every non-empty cell.
bool CellMatches(const QString& cell, const QString& text, FindOptions options);

struct FindHit {
    bool found = false;
    int row = 0;  // grid row (data rows from 1)
    int col = 0;
    bool cancelled = false;  // stopped by cancellation before the last cell (found is false)
};

// fromStart: search from row 1, column 0; otherwise from the cell after (row, col).
// cancellation, when given, is checked every few thousand cells and stops the search.
FindHit FindCell(const ListingModel& grid, bool fromStart, int row, int col, const QString& text, FindOptions options,
                 Cancellation* cancellation = nullptr);
