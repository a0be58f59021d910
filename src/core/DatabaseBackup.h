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
// name and moved into place once it is complete, so target is either the old file or the
// whole new copy. Refuses to write over the source itself. False with the reason (the
// engine's own text where it has one) on failure; nothing is left behind.
bool backupDatabase(SQLite::Database& source, const QString& target, QString* error,
                    const BackupOptions& options = {});

// A file name with the date: Quillary-2026-12-06.mdb for the database Quillary.mdb.
QString datedBackupName(const QString& databasePath, const QDate& date);

struct RotationResult {
    bool ok = true;
    bool made = false;     // false when today's copy was already there
    QString file;          // today's copy
    QStringList removed;   // the oldest copies let go
    QString error;
};

// The copy kept at each start: one a day in folder (made when missing), named with the
// date; only the newest `keep` days are kept. Files in the folder that are not such
// copies of this database are never touched.
RotationResult rotateStartBackup(SQLite::Database& source, const QString& databasePath, const QString& folder,
                                 const QDate& today, int keep = 7, const BackupOptions& options = {});
