#pragma once
// What the main window asks of a record editor, and what the editor hands back.

#include "core/View.h"

enum class EditMode { New, Amend };

// Where the user asked to go after the editor closed.
enum class Step { None, Previous, Next };

struct EditRequest {
    View view = View::Work;
    EditMode mode = EditMode::New;
    int recordId = 0;        // Amend: the record to show
    bool atFirstRow = false; // no Previous from here
    bool atLastRow = false;  // no Next from here
};

struct EditResult {
    bool dataChanged = false;  // the listing is out of date: a save, or the record was gone
    Step step = Step::None;
    int selectId = 0;    // the record to select in the listing afterwards (0: leave it)
};
