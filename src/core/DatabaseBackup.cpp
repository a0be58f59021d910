#include "core/DatabaseBackup.h"

#include <QCoreApplication>
#include <QDateTime>
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
#include <cerrno>
#include <signal.h>
#include <sqlite3.h>
#include <unistd.h>

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


// What the engine's quick_check says of an open connection: "ok" alone, or the problems.
bool quickCheck(sqlite3* connection, QString* problem)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(connection, "PRAGMA quick_check(3);", -1, &statement, nullptr) != SQLITE_OK) {
        *problem = engineText(connection);
        return false;
    }
    QStringList found;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        found << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) {
        *problem = QString::fromUtf8(sqlite3_errstr(rc));
        return false;
    }
    if (found == QStringList{QStringLiteral("ok")})
        return true;
    *problem = found.join(QStringLiteral("; "));
    return false;
}

const QString kPartTag = QStringLiteral(".part-");
// How long a partial copy of the same target may go unwritten before it is taken for a
// killed backup's, even when its process number has been given to another program.
constexpr qint64 kStalePartSecs = 600;

bool processRunning(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A killed backup leaves its partial copy (and the copy's journal) behind: removed when
// the process that wrote it is gone, or, for the same target, when it is no longer written.
void removeStaleParts(const QFileInfo& target)
{
    const QRegularExpression pattern(QStringLiteral("^(.+)\\.part-(?:(\\d+)-)?[0-9a-f]{12}(?:-journal|-wal|-shm)?$"));
    const QDir folder = target.absoluteDir();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QFileInfo& file : folder.entryInfoList({QLatin1Char('*') + kPartTag + QLatin1Char('*')}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(file.fileName());
        if (!match.hasMatch())
            continue;
        const QString pid = match.captured(2);
        const bool ownerGone = !pid.isEmpty() && !processRunning(pid.toLongLong());
        const bool sameTarget = match.captured(1) == target.fileName();
        const bool idle = file.lastModified().toUTC().secsTo(now) > kStalePartSecs;
        if (ownerGone || (sameTarget && (pid.isEmpty() || idle)))
            QFile::remove(file.absoluteFilePath());
    }
}

} // namespace

bool backupDatabase(SQLite::Database& source, const QString& target, QString* error, const BackupOptions& options,
                    QString* damagedCopy)
{
    if (damagedCopy)
        damagedCopy->clear();
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
    removeStaleParts(info);
    // A unique name in the same folder, so the final move is a rename on one file system;
    // the process number tells a later backup whether its writer is still running.
    const QString partial = info.absoluteFilePath() + kPartTag + QString::number(QCoreApplication::applicationPid())
                          + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::Id128).left(12);
    auto moveTo = [&partial](const QString& to) {
        return std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(to).constData()) == 0;
    };
    QString reason;
    bool ok = copyPages(source, partial, options, &reason);
    if (ok) {
        // Pages are copied as they are, so a damaged database gives a damaged copy.
        QString problem;
        if (!checkDatabaseFile(partial, &problem)) {
            const QString apart = damagedBackupName(info.absoluteFilePath());
            const bool kept = moveTo(apart);
            if (kept && damagedCopy)
                *damagedCopy = apart;
            reason = QStringLiteral("the database is damaged (%1)").arg(problem);
            if (kept)
                reason += QStringLiteral("; the damaged copy was kept apart as %1").arg(apart);
            ok = false;
        }
    }
    if (ok && !moveTo(info.absoluteFilePath())) {
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

QString damagedBackupName(const QString& target)
{
    const QFileInfo info(target);
    QString name = info.completeBaseName() + QStringLiteral(".damaged");
    if (!info.suffix().isEmpty())
        name += QLatin1Char('.') + info.suffix();
    return info.dir().filePath(name);
}

bool checkDatabaseFile(const QString& file, QString* problem)
{
    sqlite3* connection = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &connection, SQLITE_OPEN_READONLY, nullptr);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> closer(connection, sqlite3_close);
    if (rc != SQLITE_OK) {
        *problem = connection ? engineText(connection) : QStringLiteral("out of memory");
        return false;
    }
    return quickCheck(connection, problem);
}

QString datedBackupName(const QString& databasePath, const QDate& date)
{
    const QFileInfo info(databasePath);
    QString name = info.completeBaseName() + QLatin1Char('-') + date.toString(Qt::ISODate);
    if (!info.suffix().isEmpty())
        name += QLatin1Char('.') + info.suffix();
    return name;
}

namespace {

// This database's dated copies in dir, oldest first: the good ones, or those kept apart
// as damaged.
QStringList datedCopies(const QDir& dir, const QString& databasePath, bool damaged)
{
    const QFileInfo info(databasePath);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QRegularExpression pattern(QLatin1Char('^') + QRegularExpression::escape(info.completeBaseName())
                                     + QStringLiteral("-(\\d{4}-\\d{2}-\\d{2})")
                                     + (damaged ? QStringLiteral("\\.damaged") : QString())
                                     + QRegularExpression::escape(suffix) + QLatin1Char('$'));
    QStringList copies;
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch() && QDate::fromString(match.captured(1), Qt::ISODate).isValid())
            copies << name;
    }
    // The date in the name orders them; ISO dates sort as text.
    std::sort(copies.begin(), copies.end());
    return copies;
}

QStringList removeOldest(const QDir& dir, QStringList copies, int keep)
{
    QStringList removed;
    while (copies.size() > keep) {
        const QString oldest = dir.filePath(copies.takeFirst());
        if (QFile::remove(oldest))
            removed << oldest;
    }
    return removed;
}

} // namespace

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
        if (!backupDatabase(source, result.file, &result.error, options, &result.damagedCopy)) {
            result.ok = false;
            result.damaged = !result.damagedCopy.isEmpty();
        } else {
            result.made = true;
        }
    }
    if (result.damaged) {
        // The newest copy that is still sound; one that is not (made before copies were
        // checked) is kept apart too, so that it never counts as good again.
        QStringList copies = datedCopies(dir, databasePath, false);
        while (!copies.isEmpty() && result.lastGood.isEmpty()) {
            const QString newest = dir.filePath(copies.takeLast());
            QString problem;
            if (checkDatabaseFile(newest, &problem))
                result.lastGood = newest;
            else
                std::rename(QFile::encodeName(newest).constData(), QFile::encodeName(damagedBackupName(newest)).constData());
        }
    }
    if (result.ok)
        result.removed = removeOldest(dir, datedCopies(dir, databasePath, false), keep);
    removeOldest(dir, datedCopies(dir, databasePath, true), keep);
    return result;
}
