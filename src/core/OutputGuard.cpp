#include "core/OutputGuard.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <sys/stat.h>

#include "core/InstanceLock.h"
#include "core/Session.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("OutputGuard", text);
}

bool statPath(const QString& path, struct stat* st)
{
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

// A symbolic link to a file not made yet is written through: judge it by where it points.
QString followDanglingLinks(QString path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (statPath(path, &st))
            return path;
        if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        const QString target = QFileInfo(path).symLinkTarget();
        if (target.isEmpty())
            return path;
        path = target;
    }
    return path;
}

// What a name reaches: the file itself when it exists, else its name in a folder, so that a
// journal the engine has not made yet still counts as the journal.
struct Place {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    QString name;  // empty when the file exists

    bool operator==(const Place& other) const
    {
        return known && other.known && device == other.device && inode == other.inode && name == other.name;
    }
};

Place placeOf(const QString& path)
{
    Place place;
    const QString followed = followDanglingLinks(QFileInfo(path).absoluteFilePath());
    struct stat st;
    if (statPath(followed, &st)) {
        place = {true, st.st_dev, st.st_ino, QString()};
    } else {
        const QFileInfo info(followed);
        if (statPath(info.absolutePath(), &st))
            place = {true, st.st_dev, st.st_ino, info.fileName()};
    }
    return place;
}

} // namespace

bool representableFileName(const QString& name)
{
    return !name.contains(QChar::ReplacementCharacter) && !name.contains(QChar(0))
        && QFile::decodeName(QFile::encodeName(name)) == name;
}

OwnFiles ownFilesOf(const Session& session)
{
    return {session.databasePath(), session.locations().settingsFile};
}

QString refuseOutput(const QString& path, const OwnFiles& own)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!representableFileName(path))
        return tr("The file name %1 cannot be used: it holds characters that a file name on this system "
                  "cannot keep, so the file would be written under another name.")
            .arg(shown);

    QList<std::pair<QString, QString>> kept;  // file, what it is
    if (!own.database.isEmpty()) {
        kept.append({own.database, tr("the database in use")});
        // The engine keeps its files beside the file the links lead to.
        QStringList bases{own.database};
        const QString canonical = QFileInfo(own.database).canonicalFilePath();
        if (!canonical.isEmpty())
            bases << canonical;
        for (const QString& base : bases) {
            for (const char* suffix : {"-journal", "-wal", "-shm"})
                kept.append({base + QLatin1String(suffix), tr("a working file of the database in use")});
            kept.append({base + QStringLiteral(".lock"), tr("the lock file of the database in use")});
        }
        kept.append({InstanceLock::fileFor(own.database), tr("the lock file of the database in use")});
    }
    if (!own.settingsFile.isEmpty())
        kept.append({own.settingsFile, tr("the settings file in use")});

    const Place target = placeOf(path);
    for (const auto& [file, what] : kept) {
        if (!(placeOf(file) == target))
            continue;
        // Named another way (a link, another spelling): say what it reaches.
        const bool spelledAlike = QDir::cleanPath(QFileInfo(path).absoluteFilePath()) == QDir::cleanPath(file);
        const QString reached = spelledAlike ? what : tr("%1, %2").arg(what, QDir::toNativeSeparators(file));
        return tr("%1 is %2. Quillary does not write over its own files: choose another file.").arg(shown, reached);
    }
    return QString();
}
