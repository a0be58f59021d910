// A second start on the same database hands over to the first.

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <future>
#include <unistd.h>

#include "core/InstanceLock.h"
#include "gui/SingleInstance.h"
#include "support/TestEnv.h"

class SingleInstanceTest : public QuillaryTest {
protected:
    QString db() const { return path(QStringLiteral("Quillary.mdb")); }

    // A second program's claim, made on another thread while this one answers it.
    SingleInstance::Claim claimElsewhere(const QString& database, int timeoutMs = 3000)
    {
        auto claim = std::async(std::launch::async, [database, timeoutMs] { return SingleInstance(database).claim(timeoutMs); });
        while (claim.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return claim.get();
    }
};

TEST_F(SingleInstanceTest, ASecondStartByAnyNameOfTheFileIsHandedToTheFirstUntilTheFirstEnds)
{
    writeFile(db(), "a database");
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    const QString hard = path(QStringLiteral("elsewhere/Hard.mdb"));
    const QString symbolic = path(QStringLiteral("elsewhere/Symbolic.mdb"));
    ASSERT_EQ(::link(QFile::encodeName(db()).constData(), QFile::encodeName(hard).constData()), 0);
    ASSERT_TRUE(QFile::link(db(), symbolic));
    {
        SingleInstance first(hard);
        QSignalSpy asked(&first, &SingleInstance::activationRequested);
        ASSERT_EQ(first.claim(), SingleInstance::Claim::First);
        EXPECT_EQ(claimElsewhere(symbolic), SingleInstance::Claim::Handed);
        EXPECT_EQ(asked.count(), 1);
        // Another database is another program's business.
        EXPECT_EQ(SingleInstance(path(QStringLiteral("Other.mdb"))).claim(), SingleInstance::Claim::First);
        EXPECT_EQ(asked.count(), 1);
    }
    // The first start after the other ended takes over.
    SingleInstance next(db());
    QSignalSpy asked(&next, &SingleInstance::activationRequested);
    EXPECT_EQ(next.claim(), SingleInstance::Claim::First);
    EXPECT_EQ(claimElsewhere(hard), SingleInstance::Claim::Handed);
    EXPECT_EQ(asked.count(), 1);
}

TEST_F(SingleInstanceTest, AFirstThatDoesNotAnswerIsReportedAsOpen)
{
    InstanceLock held(db());  // a running program without the socket
    ASSERT_EQ(held.acquire(), InstanceLock::State::Held);
    EXPECT_EQ(claimElsewhere(db(), 300), SingleInstance::Claim::AlreadyRunning);
    EXPECT_TRUE(alreadyOpenMessage(db()).contains(db()));
}
