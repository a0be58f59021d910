#include "core/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

QString absolutePath(const QString& path)
{
    const QFileInfo info(path);
    // The database may not exist yet; its folder does when it can be created. Links to
    // the file itself are followed too.
    const QString real = info.canonicalFilePath();
    if (!real.isEmpty())
        return real;
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + info.fileName();
}

// "<device>-<inode>" of the file, empty when it does not exist.
QString identity(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return QString();
    return QStringLiteral("%1-%2").arg(quint64(status.st_dev), 0, 16).arg(quint64(status.st_ino), 0, 16);
}

QString shortHash(const QString& text)
{
    const QByteArray hash = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("quillary-") + QString::fromLatin1(hash.toHex().left(24));
}

// Takes lock unless a running program holds it. Qt takes a lock over when its process is
// gone, but a process number given since to another Quillary looks alive to it; the
// holder's own lock on the open file says whether it still runs, whatever its number.
QLockFile::LockError take(QLockFile& lock)
{
    if (lock.tryLock(0))
        return QLockFile::NoError;
    if (lock.error() != QLockFile::LockFailedError)
        return lock.error();
    qint64 pid = 0;
    QString host;
    QString application;
    // Only a lock file written whole (its holder had locked it first) is judged.
    if (lock.getLockInfo(&pid, &host, &application) && lock.removeStaleLockFile() && lock.tryLock(0))
        return QLockFile::NoError;
    return lock.error() == QLockFile::NoError ? QLockFile::LockFailedError : lock.error();
}

} // namespace

QString InstanceLock::fileFor(const QString& databasePath)
{
    return absolutePath(databasePath) + QStringLiteral(".lock");
}

InstanceLock::InstanceLock(const QString& databasePath) : mFile(fileFor(databasePath))
{
    QStringList files{mFile};
    const QString id = identity(databasePath);
    // Qt would warn on every start where the session sets no runtime folder; the temporary
    // folder serves as well for a lock keyed by the file's identity.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime).isDir())
        runtime = QDir::tempPath();
    if (!id.isEmpty() && !runtime.isEmpty())
        files << runtime + QStringLiteral("/quillary-") + id + QStringLiteral(".lock");
    for (const QString& file : files) {
        mLocks.push_back(std::make_unique<QLockFile>(file));
        // Held for as long as the program runs: only a dead holder makes it stale, never age.
        mLocks.back()->setStaleLockTime(0);
    }
}

InstanceLock::State InstanceLock::acquire()
{
    if (mState == State::Held)
        return mState;
    mBlocking = nullptr;
    bool held = false;
    for (const auto& lock : mLocks) {
        const QLockFile::LockError error = take(*lock);
        if (error == QLockFile::LockFailedError) {
            mBlocking = lock.get();
            break;
        }
        held = held || error == QLockFile::NoError;
    }
    if (mBlocking) {
        for (const auto& lock : mLocks)
            lock->unlock();
        mState = State::HeldByAnother;
    } else {
        mState = held ? State::Held : State::Failed;
    }
    return mState;
}

qint64 InstanceLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    return mBlocking && mBlocking->getLockInfo(&pid, &host, &application) ? pid : 0;
}

QStringList InstanceLock::keysFor(const QString& databasePath)
{
    QStringList keys;
    const QString id = identity(databasePath);
    if (!id.isEmpty())
        keys << shortHash(id);
    keys << shortHash(absolutePath(databasePath));
    return keys;
}
