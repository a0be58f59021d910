#include "support/CoreTestEnv.h"

#include <QFile>
#include <QTextStream>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <csignal>

#include "core/BackupCommand.h"
#include "core/CommandLine.h"
#include "core/Database.h"
#include "core/ExportCsvCommand.h"
#include "core/ImportCsvCommand.h"

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &mOld);
    rlimit limit = mOld;
    limit.rlim_cur = rlim_t(bytes);
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &mOld);
    std::signal(SIGXFSZ, mOldHandler);
}

void CoreTest::SetUp()
{
    ASSERT_TRUE(mDir.isValid());
    mSession = std::make_unique<Session>(mDir.path(), clock);
}

void CoreTest::TearDown()
{
    mSession.reset();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

SQLite::Database& CoreTest::createDatabase()
{
    QString error;
    mSession->setDatabase(db::createNew(path(QStringLiteral("Quillary.mdb")), &error));
    if (!mSession->database())
        ADD_FAILURE() << "cannot create the test database: " << error.toStdString();
    return *mSession->database();
}

SQLite::Database& CoreTest::database()
{
    if (!mSession->database()) {
        QString error;
        mSession->setDatabase(db::openExisting(path(QStringLiteral("Quillary.mdb")), &error));
        if (!mSession->database())
            ADD_FAILURE() << "cannot open the test database: " << error.toStdString();
    }
    return *mSession->database();
}

void CoreTest::exec(const QString& statement)
{
    database().exec(statement.toStdString());
}

int CoreTest::queryInt(const QString& statement)
{
    SQLite::Statement query(database(), statement.toStdString());
    return query.executeStep() ? query.getColumn(0).getInt() : 0;
}

QString CoreTest::queryText(const QString& statement)
{
    SQLite::Statement query(database(), statement.toStdString());
    return query.executeStep() ? QString::fromStdString(query.getColumn(0).getString()) : QString();
}

void CoreTest::setHotKeys(std::initializer_list<HotKeySetting> keys)
{
    QVector<HotKeyEntry> entries;
    for (const HotKeySetting& key : keys)
        entries.push_back(HotKeyEntry{key.caption, key.code, key.text});
    mSession->settings().setHotKeys(entries);
}

int CommandTest::run(const QStringList& arguments)
{
    out.clear();
    err.clear();
    const CommandLine command = parseCommandLine(QStringList{QStringLiteral("quillary")} + arguments, dir());
    if (command.action == CommandLine::Action::Fail) {
        err = command.text;
        return exitcode::kUsage;
    }
    FileLocations locations = FileLocations::inFolder(dir());
    if (!command.database.isEmpty()) {
        locations.database = command.database;
        locations.databaseExplicit = true;
    }
    Session own(locations, clock);
    QTextStream outStream(&out), errStream(&err);
    switch (command.action) {
    case CommandLine::Action::ExportCsv: return runExportCsvCommand(own, command, outStream, errStream);
    case CommandLine::Action::ImportCsv: return runImportCsvCommand(own, command, outStream, errStream);
    case CommandLine::Action::Backup: return runBackupCommand(own, command.backupTarget, outStream, errStream);
    default: ADD_FAILURE() << "not a command: " << arguments.join(' ').toStdString(); return -1;
    }
}
