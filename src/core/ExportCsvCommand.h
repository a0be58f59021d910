#pragma once
// quillary --export-csv works|publishers|submissions FILE [--selection NAME]
// Writes a view's listing, as the main window would list it, to a CSV file without opening
// a window, for scripts.

#include <QString>
#include <QStringList>

class Clock;
class QTextStream;

// The arguments ask for the export (the program then runs without a window).
bool isExportCsvCommand(const QStringList& args);
bool isExportCsvCommand(int argc, char** argv);

// Runs the export: args are the program's arguments (the program's name first), appDir the
// folder of its settings file. Returns 0 when the file was written; otherwise a message on
// err and 2 for arguments that cannot be used, 1 for a database, selection or file that
// cannot.
int exportCsvCommand(const QStringList& args, const QString& appDir, Clock& clock, QTextStream& out,
                     QTextStream& err);
