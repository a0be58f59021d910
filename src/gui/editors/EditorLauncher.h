#pragma once
// Opens the record editor of a view modally.

#include "core/Editing.h"
#include "gui/Prompts.h"

class QWidget;
class Session;

// Every showing is a fresh editor window: it loads, runs modally and is gone.
EditResult showRecordEditor(const EditRequest& request, Session& session, Desktop desktop, QWidget* parent);
