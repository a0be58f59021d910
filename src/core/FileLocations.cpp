#include "core/FileLocations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString join(const QString& dir, const QString& name)
{
    return QDir::cleanPath(dir + QLatin1Char('/') + name);
}

} // namespace

FileLocations FileLocations::inFolder(const QString& dir)
{
    const QString folder = QDir::cleanPath(QDir::fromNativeSeparators(dir));
    FileLocations l;
    l.programDir = folder;
    l.portable = true;
    l.settingsFile = join(folder, kSettingsFileName);
    l.database = join(folder, kDatabaseFileName);
    l.backupDir = join(folder, QStringLiteral("backups"));
    return l;
}

FileLocations resolveFileLocations(const LocationInputs& in)
{
    const ProgramFolder& program = in.program;
    FileLocations l;
    if ((program.hasSettings || program.hasDatabase) && program.writable) {
        l = FileLocations::inFolder(program.path);
    } else {
        l.programDir = QDir::cleanPath(program.path);
        l.settingsFile = join(in.configDir, kSettingsFileName);
        l.database = join(in.dataDir, kDatabaseFileName);
        l.backupDir = join(in.dataDir, QStringLiteral("backups"));
        // Installed as <prefix>/bin/quillary beside <prefix>/share/quillary/.
        l.startingSettings = join(program.path, QStringLiteral("../share/quillary/") + kSettingsFileName);
    }
    if (!in.settingsOption.isEmpty()) {
        l.settingsFile = QDir::cleanPath(in.settingsOption);
        l.startingSettings.clear();
    }
    if (!in.databaseOption.isEmpty()) {
        l.database = QDir::cleanPath(in.databaseOption);
        l.databaseExplicit = true;
    }
    return l;
}

ProgramFolder observeProgramFolder(const QString& dir)
{
    ProgramFolder folder;
    folder.path = QDir::cleanPath(QFileInfo(dir).absoluteFilePath());
    folder.hasSettings = QFileInfo::exists(join(folder.path, kSettingsFileName));
    folder.hasDatabase = QFileInfo::exists(join(folder.path, kDatabaseFileName));
    folder.writable = QFileInfo(folder.path).isWritable();
    return folder;
}

LocationInputs standardLocationInputs(const QString& programDir, const QString& settingsOption,
                                      const QString& databaseOption)
{
    LocationInputs in;
    in.program = observeProgramFolder(programDir);
    in.configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    in.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    in.settingsOption = settingsOption;
    in.databaseOption = databaseOption;
    return in;
}

bool provideSettingsFile(const FileLocations& locations, QString* error)
{
    if (locations.portable)
        return true;
    QStringList folders;
    if (!locations.databaseExplicit)
        folders << QFileInfo(locations.database).absolutePath();
    if (!locations.startingSettings.isEmpty())
        folders << QFileInfo(locations.settingsFile).absolutePath();
    for (const QString& folder : folders) {
        if (!QDir().mkpath(folder)) {
            *error = QStringLiteral("The folder %1 could not be made.").arg(folder);
            return false;
        }
    }
    if (locations.startingSettings.isEmpty() || QFileInfo::exists(locations.settingsFile))
        return true;
    if (!QFileInfo::exists(locations.startingSettings))
        return true;  // not installed: the program starts with its built-in defaults
    QFile source(locations.startingSettings);
    if (!source.copy(locations.settingsFile)) {
        *error = QStringLiteral("The starting settings %1 could not be copied to %2: %3")
                     .arg(locations.startingSettings, locations.settingsFile, source.errorString());
        return false;
    }
    // The installed copy may be read-only; the user's own is not.
    QFile::setPermissions(locations.settingsFile,
                          QFile::permissions(locations.settingsFile) | QFile::ReadOwner | QFile::WriteOwner);
    return true;
}
