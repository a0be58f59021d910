#pragma once
// Start-up steps that need no window: where the files are, opening the database, and
// reading the settings into the shared state.

#include <QString>
#include <QStringList>

// Sets gAppPath (ending in '/') and gIniFile for the program's folder.
void SetProgramFolder(const QString& appDir);

// The database path from the settings file, or Quillary.mdb in the program's folder.
// A relative path is taken relative to the program's folder.
QString DatabasePath();

// Opens the database into gDatabase. A missing file is offered to be created; a file that
// cannot be opened or is not this program's database is reported. False when the program
// must end.
bool OpenStartupDatabase(const QString& path);

// Reads Auto-Refresh, Space-Substitution-Char, the hot keys and Mode into the shared
// state. Problems with the values are handled (a safe value is used) and returned as
// readable lines, to be reported once.
QStringList ReadStartupSettings();
