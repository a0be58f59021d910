#pragma once
// The settings file (QUILLARY.INI) and the values the program takes from it at start-up.

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

#include "core/Money.h"
#include "core/View.h"
#include "core/HotKeyText.h"
#include "core/ProfileFile.h"

// Days after which an unreturned submission is overdue when neither the settings nor the
// publisher say otherwise.
constexpr int kDefaultOverdueDays = 90;

class Settings;

// Overdue-Days of [Initialisation]: a whole number of days, 0 or more. Missing or empty
// gives the default; anything else gives the default and a warning saying why.
int readOverdueDays(const Settings& settings, QString* warning = nullptr);

class Settings {
public:
    explicit Settings(const QString& file = QString());

    const QString& file() const { return mFile; }

    // A value read whole, blanks around it and anything from a NUL on removed; the default
    // when the file or the key is missing. Read from the file as it is now, or, while a
    // Reading lives, from the file as it was when that began.
    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;

    // While one lives, value() reads from one copy of the file, read when it began: a load
    // that asks for thousands of keys reads the file once, and sees it as it was at one
    // moment. Within a longer-lived Reading, a shorter one changes nothing.
    class Reading {
    public:
        explicit Reading(const Settings& settings);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        const Settings& mSettings;
        bool mOwn = false;
    };
    // How many times the file has been read so far.
    int fileReads() const { return mReads; }
    // Writes every value in one replacement of the file: all of them land, or the file
    // stays as it was and error says why.
    bool write(const QVector<profile::Setting>& values, QString* error) const;

    // Reads Auto-Refresh, Space-Substitution-Char, the hot keys and Mode. A value that
    // cannot be used is replaced by a safe one and described in the returned lines.
    QStringList load();

    bool autoRefresh() const { return mAutoRefresh; }
    void setAutoRefresh(bool on) { mAutoRefresh = on; }
    // The one character that stands for a blank in stored hot-key texts.
    const QString& spaceChar() const { return mSpaceChar; }
    void setSpaceChar(const QString& c) { mSpaceChar = c; }
    const QVector<HotKeyEntry>& hotKeys() const { return mHotKeys; }
    void setHotKeys(const QVector<HotKeyEntry>& keys) { mHotKeys = keys; }
    View startView() const { return mStartView; }
    // Days after which an unreturned submission is overdue, for publishers without their own.
    int overdueDays() const { return mOverdueDays; }
    void setOverdueDays(int days) { mOverdueDays = days; }
    // The database's currency: Currency= of [Initialisation], else the locale's.
    Currency currency() const { return Currency(mCurrencyCode); }
    void setCurrencyCode(const QString& code) { mCurrencyCode = code; }

    // Reads keys "1" to "5" of [Hot-Keys] with the current substitution character, stopping
    // at the first missing or empty key. An entry that cannot be split ends the list there,
    // with a line saying so in warnings.
    void loadHotKeys(QStringList* warnings = nullptr);

private:
    QString mFile;
    mutable std::optional<profile::Index> mReading;
    mutable int mReads = 0;
    bool mAutoRefresh = false;
    QString mSpaceChar;
    QVector<HotKeyEntry> mHotKeys;
    View mStartView = View::Work;
    int mOverdueDays = kDefaultOverdueDays;
    QString mCurrencyCode;  // empty: the locale's
};

// The text as a settings value is used: trimmed, and cut at a NUL.
QString cleanIniValue(const QString& text);
