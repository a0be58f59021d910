#include "gui/Find.h"

#include <vector>

#include "core/Cancellation.h"
#include "gui/GridView.h"

bool CellMatches(const QString& cell, const QString& text, FindOptions options)
{
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (options.wholeCell)
        return cell.compare(text, cs) == 0;
    if (cell.isEmpty())
        return false;
    return cell.contains(text, cs);
}

FindHit FindCell(const ListingModel& grid, bool fromStart, int row, int col, const QString& text, FindOptions options,
                 Cancellation* cancellation)
{
    constexpr int kCellsBetweenChecks = 4096;
    const int rows = grid.rows();
    const int cols = grid.cols();
    int startRow = 1;
    int startCol = 0;
    if (!fromStart) {
        startRow = row;
        startCol = col + 1;
        if (startCol >= cols) {
            startCol = 0;
            ++startRow;
        }
        if (startRow >= rows)
            return {};
    }
    // Cells share their texts: each distinct text is compared once.
    const CellTable& table = grid.cellTable();
    std::vector<signed char> matches(table.texts.size(), -1);
    int untilCheck = kCellsBetweenChecks;
    for (int r = qMax(1, startRow); r < rows; ++r) {
        for (int c = (r == startRow ? startCol : 0); c < cols; ++c) {
            if (cancellation && --untilCheck == 0) {
                untilCheck = kCellsBetweenChecks;
                if (cancellation->check())
                    return {false, 0, 0, true};
            }
            const quint32 index = table.cells[static_cast<size_t>(r - 1) * cols + c];
            signed char& match = matches[index];
            if (match < 0)
                match = CellMatches(table.texts[index], text, options) ? 1 : 0;
            if (match)
                return {true, r, c};
        }
    }
    return {};
}
