#pragma once
// A fixture that gives every test its own folder, settings file and database, with the
// desktop's message boxes, links and clock replaced by fakes that tests control.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "core/Clock.h"
#include "core/Session.h"
#include "core/HotKeyText.h"
#include "platform/Services.h"

namespace SQLite { class Database; }

class FakePrompts : public Prompts {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
        Answer defaultButton;
    };
    struct Asked {
        QString prompt;
        QString title;
    };

    // Answers given to Yes/No boxes in order; Yes once they run out.
    std::deque<Answer> answers;
    // Texts typed into input boxes in order; empty (cancelled) once they run out.
    std::deque<QString> inputs;
    // Called while a message box is "open" (for example to check state at that moment).
    std::function<void(const QString&)> onMessage;

    QVector<Shown> shown;
    QVector<Asked> asked;

    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                   Answer defaultButton) override;
    QString input(QWidget* parent, const QString& prompt, const QString& title,
                  const QString& defaultValue) override;

    QStringList texts() const;
};

class FakeLinks : public Links {
public:
    QStringList opened;
    bool result = true;
    bool open(const QString& address) override
    {
        opened << address;
        return result;
    }
};

class FakeClock final : public Clock {
public:
    QDate date{2026, 12, 6};
    QDate today() const override { return date; }
};

// While it lives, no file can grow beyond the given size, as on a full disk; root is
// held to it too. Writes past the limit fail instead of raising SIGXFSZ.
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

struct HotKeySetting {
    QString caption;
    int code;
    QString text;
};

class QuillaryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's own folder, ending in '/': the program's folder of its session and windows.
    QString dir() const;
    QString path(const QString& name) const;
    // The settings file QUILLARY.INI in the test's folder.
    QString iniFile() const { return path(QStringLiteral("QUILLARY.INI")); }
    void writeIni(const QByteArray& content);
    QByteArray readIni() const;
    // The test's session: its folder, settings file and clock, and the test's own connection
    // to Quillary.mdb there (windows a test starts open their own).
    Session& session() { return *mSession; }
    Desktop desktop() { return Desktop{prompts, links}; }
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
    FakePrompts prompts;
    FakeLinks links;
    FakeClock clock;
    std::unique_ptr<Session> mSession;
};
