#include "gui/Find.h"

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

FindHit FindCell(const ListingModel& grid, bool fromStart, int row, int col, const QString& text, FindOptions options)
{
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
    for (int r = qMax(1, startRow); r < rows; ++r) {
        for (int c = (r == startRow ? startCol : 0); c < cols; ++c) {
            if (CellMatches(grid.cell(r, c), text, options))
                return {true, r, c};
        }
    }
    return {};
}
