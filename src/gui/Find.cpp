#include "gui/Find.h"

#include <vector>

#include "core/Cancellation.h"
#include "gui/ListingModel.h"

bool cellMatches(const QString& cell, const QString& text, FindOptions options)
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (options.wholeCell)
        return cell.compare(text, cs) == 0;
    if (cell.isEmpty())
        return false;
    return cell.contains(text, cs);
}

FindHit findCell(const ListingModel& listing, bool fromStart, int row, int column, const QString& text,
                 FindOptions options, Cancellation* cancellation)
{
    constexpr int kCellsBetweenChecks = 4096;
    int untilCheck = kCellsBetweenChecks;
    const int rows = listing.recordCount();
    const int columns = listing.columnCount();
    int startRow = 0;
    int startColumn = 0;
    if (!fromStart) {
        startRow = row;
        startColumn = column + 1;
        if (startColumn >= columns) {
            startColumn = 0;
            ++startRow;
        }
    }
    // Cells share their texts: each distinct text is compared once.
    const CellTable& table = listing.cellTable();
    std::vector<signed char> matches(table.texts.size(), -1);
    for (int r = qMax(0, startRow); r < rows; ++r) {
        for (int c = (r == startRow ? startColumn : 0); c < columns; ++c) {
            if (cancellation && --untilCheck == 0) {
                untilCheck = kCellsBetweenChecks;
                if (cancellation->check())
                    return {false, 0, 0, true};
            }
            const quint32 index = table.cells[static_cast<size_t>(r) * columns + c];
            signed char& match = matches[index];
            if (match < 0)
                match = cellMatches(table.texts[index], text, options) ? 1 : 0;
            if (match)
                return {true, r, c};
        }
    }
    return {};
}
