#include "core/Database.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>
#include <string_view>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>
#include <vector>

#include "core/Like.h"

namespace db {

namespace {

QStringView argumentText(sqlite3_value* value)
{
    // text16 first, then bytes16: the conversion may change the byte count.
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return data ? QStringView(data, bytes / 2) : QStringView();
}

// like(pattern, text [, escape]): SQL's "text LIKE pattern [ESCAPE escape]".
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    char32_t escape = 0;
    if (argc == 3) {
        const QList<uint> chars = argumentText(argv[2]).toUcs4();
        if (chars.size() != 1) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = chars.front();
    }
    const QStringView pattern = argumentText(argv[0]);
    const QStringView text = argumentText(argv[1]);
    const bool matched = escape ? likeMatch(pattern, text, escape) : likeMatch(pattern, text);
    sqlite3_result_int(context, matched ? 1 : 0);
}

// The file's folder written to disk, so that a rename in it survives a power cut.
void syncFolder(const QString& file)
{
    const int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

void removeDatabaseFiles(const QString& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

QString lockedMessage(const QString& path)
{
    return QStringLiteral("%1 is being used by another program. Close it there, then try again.")
        .arg(QFileInfo(path).fileName());
}

void prepareConnection(SQLite::Database& database)
{
    database.setBusyTimeout(kBusyTimeoutMs);
    // Reads straight from the mapped file, and sorts and DISTINCT in memory. The rollback
    // journal and synchronous=FULL stay: a save is on disk, whole, when it returns.
    database.exec("PRAGMA mmap_size = " + std::to_string(kMmapBytes) + ";"
                  "PRAGMA cache_size = " + std::to_string(-kCacheKib) + ";"
                  "PRAGMA temp_store = MEMORY;"
                  "PRAGMA synchronous = FULL;");
    sqlite3* handle = database.getHandle();
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
    for (int args : {2, 3}) {
        const int result = sqlite3_create_function_v2(handle, "like", args,
            SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr, nullptr, nullptr);
        if (result != SQLITE_OK)
            throw SQLite::Exception(handle, result);
    }
}

namespace {

QString cannotOpen(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open the database \"%1\": %2").arg(path, reason);
}

// Reports an exception from opening: a file another program holds in the plain words of
// lockedMessage(), anything else with the engine's text.
QString openingError(const QString& path, const std::exception& e)
{
    return isLockedByAnother(e) ? lockedMessage(path) : cannotOpen(path, engineText(e));
}

// The engine makes its journal beside the file at the first save. A folder that refuses it
// is found now, by a change that is rolled back, rather than by the user's first save. The
// file's bytes are not touched: the page changed stays in memory until the rollback.
void tryJournal(SQLite::Database& database)
{
    SQLite::Transaction transaction(database, SQLite::TransactionBehavior::IMMEDIATE);
    const int version = database.execAndGet("PRAGMA user_version;").getInt();
    database.exec("PRAGMA user_version = " + std::to_string(version) + ";");
}

// Why a name is no file to open; empty when it is one.
QString notAFile(const QFileInfo& info)
{
    if (!info.exists())
        return QStringLiteral("the file does not exist");
    if (!info.isFile())
        return QStringLiteral("it is not a file");
    return QString();
}

} // namespace

std::unique_ptr<SQLite::Database> openChecked(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = cannotOpen(path, reason);
        return nullptr;
    };
    const QFileInfo info(path);
    if (const QString problem = notAFile(info); !problem.isEmpty())
        return fail(problem);

    std::unique_ptr<SQLite::Database> database;
    try {
        // No CREATE flag, and nothing is written before the file is known to be ours.
        // Only the user-interface thread uses the connection, so no mutex per call.
        database = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                      SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        // Before the first read: a file another program holds is waited for like any other.
        prepareConnection(*database);
        QString reason;
        if (!validateSchema(*database, &reason))
            return fail(reason);
        // The engine falls back to reading only when the file cannot be written.
        if (sqlite3_db_readonly(database->getHandle(), "main") == 1)
            return fail(QStringLiteral("the file cannot be written"));
        try {
            tryJournal(*database);
        } catch (const SQLite::Exception& e) {
            if (isLockedByAnother(e))
                throw;
            return fail(QStringLiteral("its folder %1 does not let changes be saved (%2)")
                            .arg(info.absolutePath(), engineText(e)));
        }
    } catch (const std::exception& e) {
        if (error)
            *error = openingError(path, e);
        return nullptr;
    }
    return database;
}

bool finishOpening(SQLite::Database& database, const QString& path, QString* error)
{
    try {
        QString reason;
        if (!upgradeSchema(database, &reason)) {
            if (error)
                *error = cannotOpen(path, reason);
            return false;
        }
        ensureIndexes(database);
    } catch (const std::exception& e) {
        if (error)
            *error = openingError(path, e);
        return false;
    }
    return true;
}

std::unique_ptr<SQLite::Database> openExisting(const QString& path, QString* error)
{
    auto database = openChecked(path, error);
    if (database && !finishOpening(*database, path, error))
        database.reset();
    return database;
}

std::unique_ptr<SQLite::Database> openReadOnly(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot read the database \"%1\": %2").arg(path, reason);
        return nullptr;
    };
    const QFileInfo info(path);
    if (const QString problem = notAFile(info); !problem.isEmpty())
        return fail(problem);

    std::unique_ptr<SQLite::Database> database;
    try {
        // The engine keeps the journal beside the file that links lead to. A read-only
        // connection cannot roll a hot one back and refuses to read; a read-write one rolls
        // it back on its first read (and does nothing when the journal is not hot).
        const QFileInfo journal(info.canonicalFilePath() + QStringLiteral("-journal"));
        if (journal.exists() && journal.size() > 0) {
            SQLite::Database writer(QFile::encodeName(path).toStdString(), SQLite::OPEN_READWRITE);
            writer.setBusyTimeout(kBusyTimeoutMs);
            writer.execAndGet("SELECT count(*) FROM sqlite_master;");
        }
        database = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                      SQLite::OPEN_READONLY | SQLite::OPEN_NOMUTEX);
        prepareConnection(*database);
        QString reason;
        if (!validateSchema(*database, &reason))
            return fail(reason);
    } catch (const std::exception& e) {
        if (isLockedByAnother(e)) {
            if (error)
                *error = lockedMessage(path);
            return nullptr;
        }
        return fail(engineText(e));
    }
    return database;
}

std::unique_ptr<SQLite::Database> createNew(const QString& path, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Cannot create the database \"%1\": %2").arg(path, reason);
        return nullptr;
    };
    // Never build over an existing file: a failure would remove it.
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("a file of that name already exists"));

    // Built whole under another name and then renamed, so that a program killed on the way
    // leaves no half-made database under the real name (the next start offers to create it
    // again, and clears what was left).
    const QString building = path + QLatin1String(kBuildingSuffix);
    removeDatabaseFiles(building);
    try {
        {
            SQLite::Database database(QFile::encodeName(building).toStdString(),
                                      SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_NOMUTEX);
            prepareConnection(database);
            createSchema(database);
        }
        if (!QFile::rename(building, path))
            throw std::runtime_error("the new file could not be given its name");
        syncFolder(path);
        auto database = std::make_unique<SQLite::Database>(QFile::encodeName(path).toStdString(),
                                                           SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
        prepareConnection(*database);
        return database;
    } catch (const std::exception& e) {
        removeDatabaseFiles(building);
        return fail(engineText(e));
    }
}

} // namespace db
