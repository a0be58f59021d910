// The lock beside the database: one holder at a time, a crashed holder's lock taken over.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <sys/wait.h>
#include <unistd.h>

#include "core/InstanceLock.h"
#include "support/CoreTestEnv.h"

namespace {

// The id of a process that has ended.
qint64 endedProcess()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    int status = 0;
    waitpid(child, &status, 0);
    return child;
}

} // namespace

class InstanceLockTest : public CoreTest {
protected:
    QString db() const { return path(QStringLiteral("Quillary.mdb")); }
};

TEST_F(InstanceLockTest, OneHolderAtATimeUntilItEndsAndAnUnwritableLockFails)
{
    auto first = std::make_unique<InstanceLock>(db());
    EXPECT_EQ(first->file(), db() + QStringLiteral(".lock"));
    EXPECT_EQ(first->acquire(), InstanceLock::State::Held);
    EXPECT_EQ(first->acquire(), InstanceLock::State::Held);  // asking again keeps it

    InstanceLock second(dir() + QStringLiteral("sub/../Quillary.mdb"));
    EXPECT_EQ(second.acquire(), InstanceLock::State::HeldByAnother);
    EXPECT_EQ(second.holder(), QCoreApplication::applicationPid());

    first.reset();
    EXPECT_FALSE(QFile::exists(db() + QStringLiteral(".lock")));
    EXPECT_EQ(second.acquire(), InstanceLock::State::Held);

    // A lock that cannot be written lets the program run unguarded.
    InstanceLock nowhere(path(QStringLiteral("no/such/folder/Quillary.mdb")));
    EXPECT_EQ(nowhere.acquire(), InstanceLock::State::Failed);
}

TEST_F(InstanceLockTest, ALockLeftByACrashedProgramIsTakenOver)
{
    // What a program that held the lock and then died leaves behind.
    QFile stale(db() + QStringLiteral(".lock"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(endedProcess()) + "\nquillary\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();

    InstanceLock lock(db());
    EXPECT_EQ(lock.acquire(), InstanceLock::State::Held);
    EXPECT_EQ(lock.holder(), QCoreApplication::applicationPid());
}

TEST_F(InstanceLockTest, TheKeyNamesTheFileNotTheSpelling)
{
    QDir().mkpath(path(QStringLiteral("real")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("link"))));
    const QString key = InstanceLock::keyFor(path(QStringLiteral("real/Quillary.mdb")));
    EXPECT_EQ(InstanceLock::keyFor(path(QStringLiteral("link/Quillary.mdb"))), key);
    EXPECT_EQ(InstanceLock::keyFor(path(QStringLiteral("real/./Quillary.mdb"))), key);
    EXPECT_NE(InstanceLock::keyFor(path(QStringLiteral("real/Other.mdb"))), key);
    // Short enough for a local socket's name.
    EXPECT_LT(key.size(), 40);
}
