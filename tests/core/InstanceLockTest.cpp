// One holder of a database at a time, through any link; a crashed holder's lock is taken over.

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

    // The same, but its number now belongs to a running program of the same name (this
    // one): without its holder's lock on the file, it is stale all the same.
    const QString reused = path(QStringLiteral("Reused.mdb"));
    writeFile(reused + QStringLiteral(".lock"), QByteArray::number(QCoreApplication::applicationPid()) + '\n'
                                                    + QCoreApplication::applicationName().toUtf8() + '\n'
                                                    + QSysInfo::machineHostName().toUtf8() + '\n');
    EXPECT_EQ(InstanceLock(reused).acquire(), InstanceLock::State::Held);

    // A lock that cannot be written lets the program run unguarded.
    EXPECT_EQ(InstanceLock(path(QStringLiteral("no/such/folder/Quillary.mdb"))).acquire(), InstanceLock::State::Failed);
}

TEST_F(InstanceLockTest, EveryLinkToTheFileFindsItsHolder)
{
    QDir().mkpath(path(QStringLiteral("real")));
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("real")), path(QStringLiteral("link"))));
    const QString db = path(QStringLiteral("real/Quillary.mdb"));
    writeFile(db, "a database");
    ASSERT_TRUE(QFile::link(db, path(QStringLiteral("elsewhere/Symbolic.mdb"))));
    ASSERT_EQ(::link(QFile::encodeName(db).constData(), QFile::encodeName(path(QStringLiteral("elsewhere/Hard.mdb"))).constData()), 0);
    const QStringList names{QStringLiteral("link/Quillary.mdb"), QStringLiteral("real/./Quillary.mdb"),
                            QStringLiteral("elsewhere/Symbolic.mdb"), QStringLiteral("elsewhere/Hard.mdb")};

    const QStringList keys = InstanceLock::keysFor(db);
    EXPECT_LT(keys.first().size(), 40);  // short enough for a local socket's name
    InstanceLock first(db);
    ASSERT_EQ(first.acquire(), InstanceLock::State::Held);
    for (const QString& name : names)
        EXPECT_EQ(InstanceLock(path(name)).acquire(), InstanceLock::State::HeldByAnother) << name.toStdString();
    // The lock file sits beside the real file, whichever link named it.
    EXPECT_EQ(InstanceLock(path(QStringLiteral("elsewhere/Symbolic.mdb"))).file(), db + QStringLiteral(".lock"));
    EXPECT_NE(InstanceLock::keysFor(path(QStringLiteral("real/Other.mdb"))), keys);
}
