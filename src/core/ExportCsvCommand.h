#pragma once
// quillary --export-csv works|publishers|submissions FILE [--selection NAME]
// Writes a view's listing, as the main window would list it, to a CSV file without opening
// a window, for scripts. The database is only read.

class QTextStream;
class Session;
struct CommandLine;

// Runs the export the command line asks for on the session's database. Prints what it did
// to out, or why it could not to err, and returns the exit code (exitcode::kOk or kFailed).
int runExportCsvCommand(Session& session, const CommandLine& command, QTextStream& out, QTextStream& err);
