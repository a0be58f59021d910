#pragma once
// One running program per database: a lock file beside the database, held while the
// program runs, and one named for the file's identity (device and inode) in the user's
// runtime folder, so that a hard link in another folder finds the program that has the
// file open. A lock left by a program that ended without letting go is taken over.

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class InstanceLock {
public:
    enum class State { Held, HeldByAnother, Failed };

    explicit InstanceLock(const QString& databasePath);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the locks unless a running program holds one. Failed means no lock file could
    // be written (a read-only folder, a folder that does not exist yet): the program may
    // still run, unguarded.
    State acquire();
    State state() const { return mState; }
    // The lock file beside the database, "<database>.lock".
    QString file() const { return mFile; }
    static QString fileFor(const QString& databasePath);
    // The process that holds it when it is held by another; 0 when unknown.
    qint64 holder() const;

    // Names that stand for the database, the same for every path that reaches the file:
    // one for its identity while it exists, then one for its real path.
    static QStringList keysFor(const QString& databasePath);

private:
    QString mFile;
    std::vector<std::unique_ptr<QLockFile>> mLocks;
    QLockFile* mBlocking = nullptr;
    State mState = State::Failed;
};
