// The built program run as a process: help, version, mistakes, --backup's exit codes, the
// first start's settings, and a second start on an open database.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <SQLiteCpp/Database.h>

#include "core/CommandLine.h"
#include "core/Database.h"
#include "gui/SingleInstance.h"
#include "support/TestEnv.h"

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class ProgramTest : public QuillaryTest {
protected:
    // Runs the program with the desktop's folders inside the test's folder, answering
    // local requests meanwhile.
    Outcome run(const QStringList& arguments, const QString& program = QStringLiteral(QUILLARY_EXECUTABLE))
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("xdg/config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("xdg/data")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(mDir.path());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForStarted(10000));
        QElapsedTimer timer;
        timer.start();
        while (process.state() != QProcess::NotRunning && timer.elapsed() < 30000) {
            QCoreApplication::processEvents();
            process.waitForFinished(10);
        }
        if (process.state() != QProcess::NotRunning) {
            ADD_FAILURE() << "the program did not end: " << arguments.join(' ').toStdString();
            process.kill();
            process.waitForFinished();
        }
        Outcome r;
        r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        r.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(process.readAllStandardError());
        return r;
    }

    QString db() const { return path(QStringLiteral("Quillary.mdb")); }
};

TEST_F(ProgramTest, HelpVersionAndMistakes)
{
    Outcome r = run({QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, exitcode::kOk);
    EXPECT_EQ(r.out.trimmed(), versionLine());

    r = run({QStringLiteral("--help")});
    EXPECT_EQ(r.exitCode, exitcode::kOk);
    EXPECT_TRUE(r.out.contains(QStringLiteral("--backup <file>"))) << r.out.toStdString();

    r = run({QStringLiteral("--frobnicate")});
    EXPECT_EQ(r.exitCode, exitcode::kUsage);
    EXPECT_TRUE(r.err.contains(QStringLiteral("frobnicate"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = run({QStringLiteral("--config"), QStringLiteral("nowhere.ini")});
    EXPECT_EQ(r.exitCode, exitcode::kUsage);
    EXPECT_TRUE(r.err.contains(path(QStringLiteral("nowhere.ini")))) << r.err.toStdString();
}

TEST_F(ProgramTest, BackupWritesACopyOrEndsWithACodeAndAReason)
{
    // No database where the settings put it.
    writeIni("[Initialisation]\r\nDatabase=missing.mdb\r\n");
    Outcome r = run({QStringLiteral("--config"), iniFile(), QStringLiteral("--backup"), QStringLiteral("copy.mdb")});
    EXPECT_EQ(r.exitCode, exitcode::kFailed);
    EXPECT_TRUE(r.err.contains(path(QStringLiteral("missing.mdb")))) << r.err.toStdString();

    // A file that is not this program's database.
    QFile notes(path(QStringLiteral("notes.mdb")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("just some text, not a database at all");
    notes.close();
    r = run({QStringLiteral("--database"), notes.fileName(), QStringLiteral("--backup"), QStringLiteral("copy.mdb")});
    EXPECT_EQ(r.exitCode, exitcode::kFailed);
    EXPECT_FALSE(r.err.isEmpty());

    // A target folder that does not exist.
    createDatabase();
    r = run({QStringLiteral("--database"), db(), QStringLiteral("--backup"), QStringLiteral("no/such/copy.mdb")});
    EXPECT_EQ(r.exitCode, exitcode::kFailed);
    EXPECT_TRUE(r.err.contains(QStringLiteral("does not exist"))) << r.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("copy.mdb"))));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));

    // The database in use (the test keeps its connection open) is copied.
    exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);"));
    r = run({QStringLiteral("--database"), db(), QStringLiteral("--backup"), QStringLiteral("copy.mdb")});
    EXPECT_EQ(r.exitCode, exitcode::kOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(path(QStringLiteral("copy.mdb")))) << r.out.toStdString();
    QString error;
    auto copy = db::openExisting(path(QStringLiteral("copy.mdb")), &error);
    ASSERT_TRUE(copy) << error.toStdString();
    EXPECT_EQ(copy->execAndGet("SELECT Name FROM Work;").getString(), "Zebra Song");
}

TEST_F(ProgramTest, AnInstalledProgramsFirstStartCopiesTheStartingSettings)
{
    // The installed layout: <prefix>/bin/quillary and <prefix>/share/quillary/QUILLARY.INI.
    QDir().mkpath(path(QStringLiteral("prefix/bin")));
    QDir().mkpath(path(QStringLiteral("prefix/share/quillary")));
    const QString program = path(QStringLiteral("prefix/bin/quillary"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(QUILLARY_EXECUTABLE), program));
    const QByteArray starting = "; starting settings\r\n[Initialisation]\r\nMode=Work\r\n";
    QFile ini(path(QStringLiteral("prefix/share/quillary/QUILLARY.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(starting);
    ini.close();

    const Outcome r = run({QStringLiteral("--backup"), QStringLiteral("copy.mdb")}, program);
    // There is no database yet, so nothing to copy; the settings are in place all the same.
    EXPECT_EQ(r.exitCode, exitcode::kFailed);
    const QString database = path(QStringLiteral("xdg/data/Quillary/Quillary.mdb"));
    EXPECT_TRUE(r.err.contains(database)) << r.err.toStdString();
    QFile copied(path(QStringLiteral("xdg/config/Quillary/QUILLARY.INI")));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), starting);
    // Nothing was written beside the program.
    EXPECT_EQ(QDir(path(QStringLiteral("prefix/bin"))).entryList(QDir::Files), QStringList{QStringLiteral("quillary")});
}

TEST_F(ProgramTest, ASecondStartOnAnOpenDatabaseHandsOverWithoutOpeningIt)
{
    writeIni("[Initialisation]\r\n");
    // This test is the running program. The database is not there: a start that went on
    // would ask whether to create it and wait for an answer forever.
    SingleInstance first(db());
    QSignalSpy asked(&first, &SingleInstance::activationRequested);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::First);

    const Outcome r = run({QStringLiteral("--config"), iniFile(), QStringLiteral("--database"), db()});
    EXPECT_EQ(r.exitCode, exitcode::kOk) << r.err.toStdString();
    EXPECT_EQ(asked.count(), 1);
    EXPECT_FALSE(QFileInfo::exists(db()));
}
