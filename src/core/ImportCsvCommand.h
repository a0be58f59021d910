#pragma once
// quillary --import-csv works|publishers|submissions FILE [--dry-run] [--date-order ORDER]
// [--status WORD=STATUS]...
// Imports a writer's history from a CSV file without opening a window, for scripts and for
// moving in. All or nothing: a file with any refused row changes nothing.

#include <QString>

#include "core/CsvImport.h"

class QTextStream;
class Session;
struct CommandLine;

// Runs the import the command line asks for on the session's database, creating the
// database when there is none yet (a dry run only pretends to). Prints the report to out
// and every refusal, with its line, to err; returns exitcode::kOk when imported (or, dry,
// when it would be) and exitcode::kFailed otherwise, nothing then being written.
int runImportCsvCommand(Session& session, const CommandLine& command, QTextStream& out, QTextStream& err);

// The report as the command prints it: what was (or would be) added, already there and
// refused, the encoding, separator and date order used, and the columns ignored.
QString importSummaryText(ImportKind kind, const ImportReport& report);
