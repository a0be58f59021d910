#pragma once
// A fixture giving every test its own folder, settings file, database and today's date. No window.

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <memory>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "core/Clock.h"
#include "core/HotKeyText.h"
#include "core/Session.h"

namespace SQLite { class Database; }

class FakeClock final : public Clock {
public:
    QDate date{2026, 12, 6};
    QDate today() const override { return date; }
};

// While it lives, no file grows beyond the size, as on a full disk (root too); writes fail instead of SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
};

// A whole file's bytes, empty when it cannot be read; a file made or replaced with bytes.
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// While it lives, dates and numbers are written as in the United Kingdom.
struct UkLocale {
    UkLocale() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    ~UkLocale() { QLocale::setDefault(QLocale::system()); }
};

struct HotKeySetting {
    QString caption;
    int code;
    QString text;
};

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's own folder, ending in '/', where its session and windows keep their files.
    QString dir() const { return mDir.path() + QLatin1Char('/'); }
    QString path(const QString& name) const { return dir() + name; }
    QString iniFile() const { return path(QStringLiteral("QUILLARY.INI")); }
    void writeIni(const QByteArray& content) { writeFile(iniFile(), content); }
    QByteArray readIni() const { return readFile(iniFile()); }
    // The test's session on its folder and clock (windows a test starts open their own).
    Session& session() { return *mSession; }
    // Creates Quillary.mdb in the test's folder, open in the session.
    SQLite::Database& createDatabase();
    // The session's connection, opened on first use.
    SQLite::Database& database();
    // Runs a statement on the session's connection; one value of the first row as text or number.
    void exec(const QString& statement);
    int queryInt(const QString& statement);
    QString queryText(const QString& statement);
    // The session's hot keys, as the settings file would give them.
    void setHotKeys(std::initializer_list<HotKeySetting> keys);

    QTemporaryDir mDir;
    FakeClock clock;
    std::unique_ptr<Session> mSession;
};

// Runs a command line as the program does, in a session of its own; what it told in out and err.
class CommandTest : public CoreTest {
protected:
    int run(const QStringList& arguments);
    QString out, err;
};
