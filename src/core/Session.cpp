#include "core/Session.h"

#include <QDir>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>

#include "core/Overdue.h"

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
    : mAppDir(withSlash(appDir)), mSettings(mAppDir + QStringLiteral("QUILLARY.INI")), mClock(clock)
{
}

Session::~Session() = default;

QString Session::databasePath() const
{
    const QString setting = mSettings.value(QStringLiteral("Initialisation"), QStringLiteral("Database"));
    if (setting.isEmpty())
        return mAppDir + QStringLiteral("Quillary.mdb");
    if (QFileInfo(setting).isRelative())
        return mAppDir + setting;
    return setting;
}

void Session::setDatabase(std::unique_ptr<SQLite::Database> database)
{
    mDatabase = std::move(database);
    // Saved selections may ask for the overdue rule of this session's clock and settings.
    if (mDatabase)
        registerOverdueFunction(*mDatabase, *this);
}

void Session::closeDatabase()
{
    mDatabase.reset();
}
