// The built program run as a process: its streams, exit codes and hand-over.

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

class ProgramTest : public QuillaryTest {
protected:
    struct Outcome {
        int exitCode = -1;
        QString out, err;
    };
    // Runs the program with the desktop's folders in the test's folder, answering local requests.
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
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
    }
    QString db() const { return path(QStringLiteral("Quillary.mdb")); }
    // The program copied to <prefix>/bin, as an installation puts it.
    QString installed()
    {
        QDir().mkpath(path(QStringLiteral("prefix/bin")));
        const QString program = path(QStringLiteral("prefix/bin/quillary"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(QUILLARY_EXECUTABLE), program));
        return program;
    }
};

TEST_F(ProgramTest, AMistakeGoesToTheErrorsAndABackupCopiesTheDatabaseInUse)
{
    Outcome r = run({QStringLiteral("--frobnicate")});
    EXPECT_EQ(r.exitCode, exitcode::kUsage);
    EXPECT_TRUE(r.err.contains(QStringLiteral("frobnicate")) && r.out.isEmpty()) << r.err.toStdString();

    // The test keeps its connection open while the program copies.
    createDatabase();
    exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);"));
    r = run({QStringLiteral("--database"), db(), QStringLiteral("--backup"), QStringLiteral("copy.mdb")});
    EXPECT_EQ(r.exitCode, exitcode::kOk) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(path(QStringLiteral("copy.mdb")))) << r.out.toStdString();
    QString error;
    auto copy = db::openExisting(path(QStringLiteral("copy.mdb")), &error);
    ASSERT_TRUE(copy) << error.toStdString();
    EXPECT_EQ(copy->execAndGet("SELECT Name FROM Work;").getString(), "Zebra Song");
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

TEST_F(ProgramTest, ExportCsvFindsTheFilesByTheRuleAndNeverWritesOverThem)
{
    // Installed, with an empty home but for the database in the data folder.
    const QString program = installed();
    createDatabase();
    exec(QStringLiteral("INSERT INTO Work (Name, Genre_ID) VALUES ('Zebra Song', 1);"));
    const QString data = path(QStringLiteral("xdg/data/Quillary/Quillary.mdb"));
    QDir().mkpath(QFileInfo(data).absolutePath());
    ASSERT_TRUE(QFile::copy(db(), data));
    Outcome r = run({QStringLiteral("--export-csv"), QStringLiteral("works"), QStringLiteral("works.csv")}, program);
    EXPECT_EQ(r.exitCode, exitcode::kOk) << r.err.toStdString();
    EXPECT_TRUE(readFile(path(QStringLiteral("works.csv"))).contains("Zebra Song"));
    EXPECT_EQ(QDir(path(QStringLiteral("prefix/bin"))).entryList(QDir::Files), QStringList{QStringLiteral("quillary")});

    // --database and --config are taken; the files in use are never the output (each rule of
    // the guard is proved without a process, so one refusal a command).
    writeIni("[Initialisation]\r\n");
    const QByteArray database = readFile(db()), settings = readIni();
    const QStringList files{QStringLiteral("--config"), iniFile(), QStringLiteral("--database"), db()};
    for (const QStringList& command : {QStringList{QStringLiteral("--export-csv"), QStringLiteral("works"), db()},
                                       QStringList{QStringLiteral("--backup"), iniFile()}}) {
        r = run(files + command);
        EXPECT_EQ(r.exitCode, exitcode::kFailed) << command.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(command.last())) << r.err.toStdString();
    }
    EXPECT_EQ(readFile(db()), database);
    EXPECT_EQ(readIni(), settings);

    // A name that is not valid in the system's encoding is refused, not written as another.
    r = run({QStringLiteral("-c"), QStringLiteral("exec \"$0\" --database \"$1\" --export-csv works \"$(printf 'bad\\377.csv')\""),
             QStringLiteral(QUILLARY_EXECUTABLE), db()},
            QStringLiteral("/bin/sh"));
    EXPECT_EQ(r.exitCode, exitcode::kUsage) << r.err.toStdString();
    EXPECT_TRUE(QDir(mDir.path()).entryList({QStringLiteral("bad*")}).isEmpty());
}
