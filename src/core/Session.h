#pragma once
// What the windows share: the program's folder, the settings, the open database and the
// clock. The main window owns one and passes it by reference.

#include <QString>
#include <memory>

#include "core/FileLocations.h"
#include "core/Overdue.h"
#include "core/Settings.h"

class Clock;
class RecordStore;
namespace SQLite { class Database; }

class Session {
public:
    // appDir: the folder of the program (where the settings file and, by default, the
    // database are).
    Session(const QString& appDir, Clock& clock);
    // The files where the location rule (FileLocations.h) put them.
    Session(const FileLocations& locations, Clock& clock);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The program's folder, ending in '/'.
    const QString& appDir() const { return mAppDir; }
    Settings& settings() { return mSettings; }
    const Settings& settings() const { return mSettings; }
    Clock& clock() const { return mClock; }

    const FileLocations& locations() const { return mLocations; }

    // The database named on the command line, else the one the settings file names, else
    // the default one. A relative path in the settings file is taken from the settings
    // file's folder: a desktop program's working folder is arbitrary, that one is not.
    QString databasePath() const;

    // Today from the clock, the default days from the settings.
    OverdueRule overdueRule() const;

    // The open database; null before it is opened and after it is closed.
    SQLite::Database* database() const { return mDatabase.get(); }
    bool isOpen() const { return mDatabase != nullptr; }
    // The records of the open database; only while it is open.
    RecordStore store() const;
    void setDatabase(std::unique_ptr<SQLite::Database> database);
    // Opens databasePath() checked but not yet upgraded (see db::openChecked), or first
    // creates it with the schema and lookup rows when create is set; false with the reason
    // when that fails.
    bool openDatabase(bool create, QString* error);
    // Brings an opened database up to date (see db::finishOpening); false with the reason.
    bool finishOpening(QString* error);
    // Copies the open database to target; false with the reason.
    bool backupTo(const QString& target, QString* error);
    // Closing twice, or closing what is not open, does nothing.
    void closeDatabase();

private:
    QString mAppDir;
    FileLocations mLocations;
    Settings mSettings;
    Clock& mClock;
    std::unique_ptr<SQLite::Database> mDatabase;
};
