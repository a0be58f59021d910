#pragma once
// Where the settings file, the database and the start-up backups live.
//
// A portable copy keeps everything in the program's folder: that folder is used when it
// already holds QUILLARY.INI or Quillary.mdb and the program may write there. Otherwise
// the files live where the desktop keeps a user's settings and data. Paths given on the
// command line win over both.

#include <QString>

// What is known about the program's folder; observed once at start.
struct ProgramFolder {
    QString path;            // absolute
    bool hasSettings = false;
    bool hasDatabase = false;
    bool writable = false;
};

struct LocationInputs {
    ProgramFolder program;
    QString configDir;         // the desktop's folder for this program's settings
    QString dataDir;           // the desktop's folder for this program's data
    QString settingsOption;    // --config, absolute or empty
    QString databaseOption;    // --database, absolute or empty
};

struct FileLocations {
    QString programDir;
    bool portable = false;
    QString settingsFile;
    // The database unless the settings file names another; with databaseExplicit, always.
    QString database;
    bool databaseExplicit = false;
    QString backupDir;
    // The installed starting settings, copied to settingsFile when it is missing; empty
    // when the settings file is not ours to create (portable, or named on the command line).
    QString startingSettings;

    // Everything in the one folder (the tests' and the build's own layout).
    static FileLocations inFolder(const QString& dir);
};

inline const QString kSettingsFileName = QStringLiteral("QUILLARY.INI");
inline const QString kDatabaseFileName = QStringLiteral("Quillary.mdb");

// The rule; it looks at nothing on disk.
FileLocations resolveFileLocations(const LocationInputs& inputs);

// Looks at the folder on disk.
ProgramFolder observeProgramFolder(const QString& dir);

// The desktop's folders (QStandardPaths) for the rule; the program's name must be set.
LocationInputs standardLocationInputs(const QString& programDir, const QString& settingsOption,
                                      const QString& databaseOption);

// Outside a portable folder: makes the folders of the settings file and the default
// database, and copies the starting settings to the settings file when that is missing
// and ours to create. Never replaces an existing file. False with the reason when a
// folder or the copy could not be made.
bool provideSettingsFile(const FileLocations& locations, QString* error);
