#pragma once
// State shared by every window, and the module helpers every window uses.
// Windows meet only through these variables: a window writes them, shows another
// modally, and reads what the other left when it returns.

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include <SQLiteCpp/Database.h>

#include "platform/ProfileFile.h"

class QWidget;

inline const QString kProgramTitle = QStringLiteral("Quillary");

extern QString gViewMode;        // "Work", "Publisher" or "Submission"
extern QString gEditAction;      // "New" or "Amend"
extern int gRecordID;
extern int gNavigate;            // 0 none, 1 previous row, 2 next row
extern bool gAtFirstRow;
extern bool gAtLastRow;
extern bool gDataChanged;
extern std::unique_ptr<SQLite::Database> gDatabase;
extern QStringList gSelections;  // one entry per cboSQL item, plus a spare empty one
extern QVector<int> gRowIDs;     // entry k: ID of the record in grid data row k + 1
extern int gSelectID;
extern bool gAutoRefresh;
extern QString gSpaceChar;
extern int gHotKeyCount;
extern QStringList gHotKeyCaptions;
extern QVector<int> gHotKeyCodes;
extern QStringList gHotKeyTexts;
extern QString gFindText;
extern bool gFindMatchCase;
extern bool gFindWholeCell;
extern QString gIniFile;
extern QString gAppPath;         // always ends in '/'

// Puts every shared variable back to its value before start-up (tests start from it).
void ResetSharedState();

// Settings file access. Values are read whole.
QString GetIniSetting(const QString& section, const QString& key, const QString& defaultValue);
// Returns false and reports the failure in a message box when the file cannot be written.
bool PutIniSetting(const QString& section, const QString& key, const QString& value);
// All the settings in one replacement of the file: they all land, or the file stays as it
// was and the failure is reported once.
bool PutIniSettings(const QVector<profile::Setting>& settings);
QString CleanIniValue(const QString& text);

// Shows text in the window's "pnlStatus" and restarts its "tmrMessage" to clear it after
// the given seconds; 0 keeps the message until the next one.
void ShowStatusMessage(QWidget* window, const QString& text, int seconds);
