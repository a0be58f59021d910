#pragma once
// Finding text in a listing's cells, row by row and column by column, without wrapping.

#include <QString>

class Cancellation;
class ListingModel;

struct FindOptions {
    bool matchCase = false;
    bool wholeCell = false;
};

// Does the cell text match the search text under the options? An empty cell contains
// nothing; an empty search text is contained in every non-empty cell.
bool cellMatches(const QString& cell, const QString& text, FindOptions options);

struct FindHit {
    bool found = false;
    int row = 0;
    int column = 0;
    bool cancelled = false;  // stopped on request before the last cell
};

// Searches the records' cells (never a "nothing found" row). fromStart: from the first
// cell; otherwise from the cell after (row, column). cancellation, when given, is asked
// every few thousand cells.
FindHit findCell(const ListingModel& listing, bool fromStart, int row, int column, const QString& text,
                 FindOptions options, Cancellation* cancellation = nullptr);
