// The lock beside the database: one holder at a time, a crashed holder's lock taken over.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <sys/wait.h>
#include <unistd.h>

#include "core/InstanceLock.h"
#include "support/CoreTestEnv.h"

using InstanceLockTest = CoreTest;

TEST_F(InstanceLockTest, OneHolderAtATimeUntilItEndsOrDies)
{
    const QString db = path(QStringLiteral("Quillary.mdb"));
    auto first = std::make_unique<InstanceLock>(db);
    EXPECT_EQ(first->acquire(), InstanceLock::State::Held);
    EXPECT_EQ(first->acquire(), InstanceLock::State::Held);  // asking again keeps it
    InstanceLock second(dir() + QStringLiteral("sub/../Quillary.mdb"));
    EXPECT_EQ(second.acquire(), InstanceLock::State::HeldByAnother);
    EXPECT_EQ(second.holder(), QCoreApplication::applicationPid());
    first.reset();
    EXPECT_FALSE(QFile::exists(db + QStringLiteral(".lock")));
    EXPECT_EQ(second.acquire(), InstanceLock::State::Held);

    // What a program that held the lock and then died leaves behind is taken over.
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    const QString other = path(QStringLiteral("Other.mdb"));
    writeFile(other + QStringLiteral(".lock"),
              QByteArray::number(ended) + "\nquillary\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    InstanceLock taken(other);
    EXPECT_EQ(taken.acquire(), InstanceLock::State::Held);
    EXPECT_EQ(taken.holder(), QCoreApplication::applicationPid());

    // A lock that cannot be written lets the program run unguarded.
    EXPECT_EQ(InstanceLock(path(QStringLiteral("no/such/folder/Quillary.mdb"))).acquire(), InstanceLock::State::Failed);
}

TEST_F(InstanceLockTest, TheKeyNamesTheFileNotTheSpelling)
{
    QDir().mkpath(path(QStringLiteral("real")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("link"))));
    const QString key = InstanceLock::keyFor(path(QStringLiteral("real/Quillary.mdb")));
    EXPECT_EQ(InstanceLock::keyFor(path(QStringLiteral("link/Quillary.mdb"))), key);
    EXPECT_EQ(InstanceLock::keyFor(path(QStringLiteral("real/./Quillary.mdb"))), key);
    EXPECT_NE(InstanceLock::keyFor(path(QStringLiteral("real/Other.mdb"))), key);
    EXPECT_LT(key.size(), 40);  // short enough for a local socket's name
}
