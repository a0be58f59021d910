#pragma once
// One running program per database: a lock file beside the database, held while the
// program runs. A lock left by a program that crashed is taken over.

#include <QLockFile>
#include <QString>
#include <memory>

class InstanceLock {
public:
    enum class State { Held, HeldByAnother, Failed };

    explicit InstanceLock(const QString& databasePath);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock unless a running program holds it. Failed means the lock file could
    // not be written (a read-only folder, a folder that does not exist yet): the program
    // may still run, unguarded.
    State acquire();
    State state() const { return mState; }
    // The lock file, "<database>.lock".
    QString file() const { return mFile; }
    // The process that holds it when it is held by another; 0 when unknown.
    qint64 holder() const;

    // A name that stands for the database: the same for every path that reaches the file.
    static QString keyFor(const QString& databasePath);

private:
    QString mFile;
    std::unique_ptr<QLockFile> mLock;
    State mState = State::Failed;
};
