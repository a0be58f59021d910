#pragma once
// Consistent copies of the open database, made with the engine's online backup, so that a
// copy taken while another program writes is still a whole database.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

namespace SQLite { class Database; }

struct BackupOptions {
    // Pages copied per step; the engine's read lock is let go between steps, so other
    // writers are not held up by a large file. -1 copies everything in one step.
    int pagesPerStep = 256;
    // How long a step may keep finding the file locked by a writer before giving up.
    int busyTimeoutMs = 3000;
    // After this many steps (the copy restarts whenever another connection writes), the
    // rest is copied in one step so that a busy writer cannot keep the copy from ending.
    int maxSteps = 200;
    // Called after each step that left pages to copy; tests write from here.
    std::function<void()> afterStep;
};

// Copies the source database to target. The copy is written beside target under another
// name (target.part-PID-RANDOM), checked with the engine's quick_check, and moved into place
// only when whole and sound, so target is either the old file or the whole new copy.
// Refuses to write over the source itself. False with the reason (the engine's own text
// where it has one) on failure; nothing is left behind, except that a copy that fails the
// check, which means the database itself is damaged, is kept apart under
// damagedBackupName(target) and named in damagedCopy. Partial copies that an earlier,
// killed backup left in the folder are removed first.
bool backupDatabase(SQLite::Database& source, const QString& target, QString* error,
                    const BackupOptions& options = {}, QString* damagedCopy = nullptr);

// Where a damaged copy of target is kept: Quillary-2026-12-07.damaged.mdb for
// Quillary-2026-12-07.mdb. The start-up rotation never counts such a file as a copy.
QString damagedBackupName(const QString& target);

// The engine's quick_check of a database file, opened read-only. False with what it
// found (or why the file could not be read) when the file is damaged.
bool checkDatabaseFile(const QString& file, QString* problem);

// A file name with the date: Quillary-2026-12-06.mdb for the database Quillary.mdb.
QString datedBackupName(const QString& databasePath, const QDate& date);

struct RotationResult {
    bool ok = true;
    bool made = false;     // false when today's copy was already there
    QString file;          // today's copy
    QStringList removed;   // the oldest copies let go
    QString error;
    // Today's copy failed its check: the database is damaged. The copy was kept apart
    // (damagedCopy), and lastGood is the newest copy that passes the check (empty: none).
    bool damaged = false;
    QString damagedCopy;
    QString lastGood;
};

// The copy kept at each start: one a day in folder (made when missing), named with the
// date; only the newest `keep` days of good copies are kept, so the newest good copy is
// never let go. Nothing is let go on a day whose copy failed. Damaged copies, kept apart
// by name, are never counted as good; the newest `keep` of them stay too. Files in the
// folder that are not copies of this database are never touched.
RotationResult rotateStartBackup(SQLite::Database& source, const QString& databasePath, const QString& folder,
                                 const QDate& today, int keep = 7, const BackupOptions& options = {});
