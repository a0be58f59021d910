#pragma once
// File > Back Up Database.

class QWidget;
class Prompts;
class Session;

// Asks where to put a copy of the open database (suggesting a dated name in the user's
// documents), writes it, and says how it went: the status panel of window on success, a
// message box on failure. A cancelled question writes nothing.
void backUpDatabaseInteractively(QWidget* window, Session& session, Prompts& prompts);
