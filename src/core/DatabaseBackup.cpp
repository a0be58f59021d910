#include "core/DatabaseBackup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QUuid>
#include <SQLiteCpp/Database.h>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sqlite3.h>

#include "core/OutputGuard.h"

namespace {

struct BackupDeleter {
    void operator()(sqlite3_backup* backup) const { sqlite3_backup_finish(backup); }
};

QString engineText(sqlite3* connection)
{
    return QString::fromUtf8(sqlite3_errmsg(connection));
}

// Copies every page of source into the empty database at path.
bool copyPages(SQLite::Database& source, const QString& path, const BackupOptions& options, QString* error)
{
    sqlite3* destination = nullptr;
    const QByteArray name = QFile::encodeName(path);
    if (sqlite3_open_v2(name.constData(), &destination, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        *error = destination ? engineText(destination) : QStringLiteral("out of memory");
        sqlite3_close(destination);
        return false;
    }
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(destination, sqlite3_close);

    std::unique_ptr<sqlite3_backup, BackupDeleter> backup(
        sqlite3_backup_init(destination, "main", source.getHandle(), "main"));
    if (!backup) {
        *error = engineText(destination);
        return false;
    }
    int steps = 0;
    int waitedMs = 0;
    for (;;) {
        const int pages = steps >= options.maxSteps ? -1 : options.pagesPerStep;
        const int rc = sqlite3_backup_step(backup.get(), pages);
        ++steps;
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // A writer holds the file; wait a little and carry on where we were.
            if (waitedMs >= options.busyTimeoutMs) {
                *error = QStringLiteral("the database stayed locked by another program");
                return false;
            }
            QThread::msleep(20);
            waitedMs += 20;
            continue;
        }
        if (rc != SQLITE_OK) {
            *error = QString::fromUtf8(sqlite3_errstr(rc));
            return false;
        }
        waitedMs = 0;
        if (options.afterStep)
            options.afterStep();
    }
    const int rc = sqlite3_errcode(destination);
    backup.reset();
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        *error = engineText(destination);
        return false;
    }
    if (sqlite3_close(closer.release()) != SQLITE_OK) {
        *error = QStringLiteral("the copy could not be closed");
        return false;
    }
    return true;
}

} // namespace

bool backupDatabase(SQLite::Database& source, const QString& target, QString* error, const BackupOptions& options)
{
    const QString sourcePath = QString::fromStdString(source.getFilename());
    // The caller knows the settings file too; the database's own files are known here.
    const QString refused = refuseOutput(target, OwnFiles{sourcePath, QString()});
    if (!refused.isEmpty()) {
        *error = refused;
        return false;
    }
    const QFileInfo info(target);
    if (info.isDir()) {
        *error = QStringLiteral("%1 is a folder.").arg(target);
        return false;
    }
    if (!info.absoluteDir().exists()) {
        *error = QStringLiteral("The folder %1 does not exist.").arg(info.absolutePath());
        return false;
    }
    // A unique name in the same folder, so the final move is a rename on one file system.
    const QString partial = info.absoluteFilePath() + QStringLiteral(".part-")
                          + QUuid::createUuid().toString(QUuid::Id128).left(12);
    QString reason;
    bool ok = copyPages(source, partial, options, &reason);
    if (ok && std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0) {
        reason = QStringLiteral("the copy could not be moved into place");
        ok = false;
    }
    if (!ok) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(partial + QLatin1String(suffix));
        *error = QStringLiteral("The backup %1 could not be written: %2").arg(target, reason);
        return false;
    }
    return true;
}

QString datedBackupName(const QString& databasePath, const QDate& date)
{
    const QFileInfo info(databasePath);
    QString name = info.completeBaseName() + QLatin1Char('-') + date.toString(Qt::ISODate);
    if (!info.suffix().isEmpty())
        name += QLatin1Char('.') + info.suffix();
    return name;
}

RotationResult rotateStartBackup(SQLite::Database& source, const QString& databasePath, const QString& folder,
                                 const QDate& today, int keep, const BackupOptions& options)
{
    RotationResult result;
    if (!QDir().mkpath(folder)) {
        result.ok = false;
        result.error = QStringLiteral("The backup folder %1 could not be made.").arg(folder);
        return result;
    }
    const QDir dir(folder);
    result.file = dir.filePath(datedBackupName(databasePath, today));
    if (!QFileInfo::exists(result.file)) {
        if (!backupDatabase(source, result.file, &result.error, options)) {
            result.ok = false;
            return result;
        }
        result.made = true;
    }

    const QFileInfo info(databasePath);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QRegularExpression pattern(QLatin1Char('^') + QRegularExpression::escape(info.completeBaseName())
                                     + QStringLiteral("-(\\d{4}-\\d{2}-\\d{2})")
                                     + QRegularExpression::escape(suffix) + QLatin1Char('$'));
    QStringList copies;
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch() && QDate::fromString(match.captured(1), Qt::ISODate).isValid())
            copies << name;
    }
    // The date in the name orders them; ISO dates sort as text.
    std::sort(copies.begin(), copies.end());
    while (copies.size() > keep) {
        const QString oldest = dir.filePath(copies.takeFirst());
        if (QFile::remove(oldest))
            result.removed << oldest;
    }
    return result;
}
