#pragma once
// The Submission view's overdue rows: shaded, with a note on each of their cells, and the
// count for the status panel.

#include <QColor>
#include <QHash>
#include <QString>

#include "core/Overdue.h"

class ListingModel;

// The shade of an overdue row.
QColor overdueShade();

// Marks the listed overdue submissions the fill found (by record ID) and returns what the
// status panel adds to its record count: how many are overdue and how they are shown.
QString markOverdueRows(ListingModel& listing, QHash<int, OverdueInfo> overdue);
// Takes every mark away (the other views).
void clearOverdueRows(ListingModel& listing);
