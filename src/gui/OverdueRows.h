#pragma once
// The Submission view's overdue rows: shaded, with a note on each of their cells, and the
// count for the status panel.

#include <QColor>
#include <QString>

#include "core/View.h"

class GridView;
class Session;

// The shade of an overdue row.
QColor overdueShade();

// Marks the overdue rows of the grid's listing (none outside the Submission view) and
// returns what the status panel adds to its record count: how many rows are overdue and
// how they are shown; empty outside the Submission view.
QString markOverdueRows(GridView& grid, Session& session, View view);
