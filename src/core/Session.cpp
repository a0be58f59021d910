#include "core/Session.h"

#include <QDir>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>

#include "core/Clock.h"
#include "core/Database.h"
#include "core/DatabaseBackup.h"
#include "core/Overdue.h"
#include "core/RecordStore.h"

namespace {

QString withSlash(const QString& dir)
{
    QString path = QDir::fromNativeSeparators(dir);
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

Session::Session(const QString& appDir, Clock& clock)
    : Session(FileLocations::inFolder(appDir), clock)
{
}

Session::Session(const FileLocations& locations, Clock& clock)
    : mAppDir(withSlash(locations.programDir)),
      mLocations(locations),
      mSettings(locations.settingsFile),
      mClock(clock)
{
}

Session::~Session() = default;

QString Session::databasePath() const
{
    if (mLocations.databaseExplicit)
        return mLocations.database;
    const QString setting = mSettings.value(QStringLiteral("Initialisation"), QStringLiteral("Database"));
    if (setting.isEmpty())
        return mLocations.database;
    if (QFileInfo(setting).isRelative())
        return QFileInfo(mSettings.file()).absolutePath() + QLatin1Char('/') + setting;
    return setting;
}

void Session::setDatabase(std::unique_ptr<SQLite::Database> database)
{
    mDatabase = std::move(database);
    // Saved selections may ask for the overdue rule of this session's clock and settings.
    if (mDatabase)
        registerOverdueFunction(*mDatabase, [this] { return overdueRule(); });
}

bool Session::openDatabase(bool create, QString* error)
{
    std::unique_ptr<SQLite::Database> database
        = create ? db::createNew(databasePath(), error) : db::openChecked(databasePath(), error);
    if (!database)
        return false;
    setDatabase(std::move(database));
    return true;
}

RecordStore Session::store() const
{
    return RecordStore(*mDatabase);
}

bool Session::finishOpening(QString* error)
{
    return db::finishOpening(*mDatabase, databasePath(), error);
}

bool Session::backupTo(const QString& target, QString* error)
{
    return backupDatabase(*mDatabase, target, error);
}

void Session::closeDatabase()
{
    mDatabase.reset();
}

OverdueRule Session::overdueRule() const
{
    return OverdueRule{mClock.today(), mSettings.overdueDays()};
}
