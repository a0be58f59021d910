#pragma once
// The Submission view's overdue rows: shaded, with a note on each of their cells, and the
// count for the status panel.

#include <QColor>
#include <QHash>
#include <QString>
#include <optional>

#include "core/Overdue.h"
#include "core/View.h"

class GridView;
class Session;

// The shade of an overdue row.
QColor overdueShade();

// Marks the overdue rows of the grid's listing (none outside the Submission view) and
// returns what the status panel adds to its record count: how many rows are overdue and
// how they are shown; empty outside the Submission view. known: the overdue submissions
// when the fill found them already; otherwise they are looked up.
QString markOverdueRows(GridView& grid, Session& session, View view,
                        std::optional<QHash<int, OverdueInfo>> known = std::nullopt);
