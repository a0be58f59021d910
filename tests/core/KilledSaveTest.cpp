// A program killed mid-save leaves whole saves only and an undamaged file.

#include <QDir>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>
#include <csignal>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/Database.h"
#include "core/RecordStore.h"
#include "support/CoreTestEnv.h"

class KilledSaveTest : public CoreTest {};

namespace {

constexpr int kLinks = 12;

// Saves new publishers with their genre links, then amends each (its links deleted and
// written again) until killed.
[[noreturn]] void saveForever(const QString& file)
{
    QString error;
    std::unique_ptr<SQLite::Database> database = db::openExisting(file, &error);
    if (!database)
        _exit(3);
    RecordStore store(*database);
    for (int i = 0;; ++i) {
        PublisherRecord publisher;
        publisher.name = QStringLiteral("Publisher %1").arg(i);
        publisher.comments = QString(2000, QChar('c'));  // a few pages a save
        for (int g = 1; g <= kLinks; ++g)
            publisher.genreIds << g;
        try {
            publisher.id = store.savePublisher(publisher);
            publisher.name += QStringLiteral(" amended");
            store.savePublisher(publisher);
        } catch (...) {
            _exit(4);
        }
    }
}

// Runs work in a child process and kills it after the given time; how the child ended.
int killedAfter(std::chrono::microseconds after, const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    EXPECT_GT(child, 0);
    std::this_thread::sleep_for(after);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST_F(KilledSaveTest, TheFileHoldsWholeSavesOnly)
{
    createDatabase();
    const QString file = path(QStringLiteral("Quillary.mdb"));
    std::mt19937 random(20261206);
    int savedBefore = 0;
    int cutShort = 0;  // rounds killed with a save under way
    for (int round = 0; round < 12; ++round) {
        const int status = killedAfter(std::chrono::microseconds(5000 + random() % 40000), [&] { saveForever(file); });
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended by itself: " << WEXITSTATUS(status);

        cutShort += QFileInfo(file + QStringLiteral("-journal")).size() > 0 ? 1 : 0;
        // Opened again as the program opens it: a save cut short is rolled back.
        QString error;
        std::unique_ptr<SQLite::Database> reopened = db::openExisting(file, &error);
        ASSERT_TRUE(reopened) << error.toStdString();
        EXPECT_EQ(reopened->execAndGet("PRAGMA integrity_check;").getString(), "ok");
        SQLite::Statement links(*reopened,
                                "SELECT p.ID, count(g.Genre_ID) FROM Publisher AS p "
                                "LEFT JOIN Publisher_Genre AS g ON g.Publisher_ID = p.ID GROUP BY p.ID;");
        int publishers = 0;
        while (links.executeStep()) {
            ++publishers;
            ASSERT_EQ(links.getColumn(1).getInt(), kLinks) << "publisher " << links.getColumn(0).getInt();
        }
        EXPECT_GE(publishers, savedBefore);
        savedBefore = publishers;
    }
    EXPECT_GT(savedBefore, 0);
    EXPECT_GT(cutShort, 0);
}

TEST_F(KilledSaveTest, ACreationCutShortLeavesNoDatabaseByTheRealNameAndIsMadeAgain)
{
    std::mt19937 random(7122026);
    int made = 0;
    for (int round = 0; round < 12; ++round) {
        const QString file = path(QStringLiteral("new%1/Quillary.mdb").arg(round));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
        killedAfter(std::chrono::microseconds(random() % 12000), [&] { db::createNew(file, nullptr); });

        // Under the real name there is a whole database or nothing; what a cut creation left
        // beside it is cleared when the database is made again.
        QString error;
        if (QFileInfo::exists(file)) {
            ++made;
            EXPECT_TRUE(db::openExisting(file, &error)) << error.toStdString();
        } else {
            EXPECT_TRUE(db::createNew(file, &error)) << error.toStdString();
        }
        EXPECT_EQ(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files), QStringList{"Quillary.mdb"});
    }
    EXPECT_LT(made, 12);  // some creations were cut short
}
