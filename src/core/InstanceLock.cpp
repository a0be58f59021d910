#include "core/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

QString absolutePath(const QString& path)
{
    const QFileInfo info(path);
    // The database may not exist yet; its folder does when it can be created.
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

InstanceLock::InstanceLock(const QString& databasePath)
    : mFile(absolutePath(databasePath) + QStringLiteral(".lock")), mLock(std::make_unique<QLockFile>(mFile))
{
    // Held for as long as the program runs: only a dead holder makes it stale, never age.
    mLock->setStaleLockTime(0);
}

InstanceLock::State InstanceLock::acquire()
{
    if (mState == State::Held)
        return mState;
    if (mLock->tryLock(0)) {
        mState = State::Held;
    } else if (mLock->error() == QLockFile::LockFailedError) {
        // tryLock() removes a lock whose process is gone; one still there is alive.
        mState = State::HeldByAnother;
    } else {
        mState = State::Failed;
    }
    return mState;
}

qint64 InstanceLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString application;
    return mLock->getLockInfo(&pid, &host, &application) ? pid : 0;
}

QString InstanceLock::keyFor(const QString& databasePath)
{
    const QByteArray hash = QCryptographicHash::hash(absolutePath(databasePath).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("quillary-") + QString::fromLatin1(hash.toHex().left(24));
}
