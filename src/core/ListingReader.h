#pragma once
// Reading what a view lists from the session's open database.

#include <QString>

#include "core/ListingColumns.h"
#include "core/View.h"

class Cancellation;
class Session;

// The view's records under condition (empty: all of them), each cell formatted; in the
// Submission view the overdue ones are found on the way. expectedRows: room made at once.
// Not ok, with a reason, when the database is not open or the statement fails; cancelled
// when cancellation (checked as the engine runs) says stop.
FillResult readListing(const Session& session, View view, const QString& condition, int expectedRows = 0,
                       Cancellation* cancellation = nullptr);
