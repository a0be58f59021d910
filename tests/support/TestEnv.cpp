#include "support/TestEnv.h"

#include <QFile>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <csignal>

#include "data/Database.h"

Prompts::Answer FakePrompts::message(QWidget*, const QString& text, Buttons buttons, Icon icon,
                                     Answer defaultButton)
{
    shown.push_back({text, buttons, icon, defaultButton});
    if (onMessage)
        onMessage(text);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return Answer::Yes;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakePrompts::input(QWidget*, const QString& prompt, const QString& title, const QString&)
{
    asked.push_back({prompt, title});
    if (inputs.empty())
        return QString();
    QString value = inputs.front();
    inputs.pop_front();
    return value;
}

QStringList FakePrompts::texts() const
{
    QStringList list;
    for (const Shown& s : shown)
        list << s.text;
    return list;
}

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

void QuillaryTest::SetUp()
{
    ASSERT_TRUE(mDir.isValid());
    mSession = std::make_unique<Session>(mDir.path(), clock);
}

void QuillaryTest::TearDown()
{
    mSession.reset();
}

QString QuillaryTest::dir() const
{
    return mDir.path() + QLatin1Char('/');
}

QString QuillaryTest::path(const QString& name) const
{
    return dir() + name;
}

void QuillaryTest::writeIni(const QByteArray& content)
{
    QFile file(iniFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray QuillaryTest::readIni() const
{
    QFile file(iniFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

SQLite::Database& QuillaryTest::createDatabase()
{
    QString error;
    mSession->setDatabase(db::createNew(path(QStringLiteral("Quillary.mdb")), &error));
    if (!mSession->database())
        ADD_FAILURE() << "cannot create the test database: " << error.toStdString();
    return *mSession->database();
}

SQLite::Database& QuillaryTest::database()
{
    if (!mSession->database()) {
        QString error;
        mSession->setDatabase(db::openExisting(path(QStringLiteral("Quillary.mdb")), &error));
        if (!mSession->database())
            ADD_FAILURE() << "cannot open the test database: " << error.toStdString();
    }
    return *mSession->database();
}

void QuillaryTest::exec(const QString& statement)
{
    database().exec(statement.toStdString());
}

int QuillaryTest::queryInt(const QString& statement)
{
    SQLite::Statement query(database(), statement.toStdString());
    return query.executeStep() ? query.getColumn(0).getInt() : 0;
}

QString QuillaryTest::queryText(const QString& statement)
{
    SQLite::Statement query(database(), statement.toStdString());
    return query.executeStep() ? QString::fromStdString(query.getColumn(0).getString()) : QString();
}

void QuillaryTest::setHotKeys(std::initializer_list<HotKeySetting> keys)
{
    QVector<HotKeyEntry> entries;
    for (const HotKeySetting& key : keys)
        entries.push_back(HotKeyEntry{key.caption, key.code, key.text});
    mSession->settings().setHotKeys(entries);
}
