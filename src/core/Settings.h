#pragma once
// The settings file (QUILLARY.INI) and the values the program takes from it at start-up.

#include <QString>
#include <QStringList>
#include <QVector>

#include "core/Money.h"
#include "core/View.h"
#include "core/HotKeyText.h"
#include "core/Overdue.h"
#include "core/ProfileFile.h"

class Settings {
public:
    explicit Settings(const QString& file = QString());

    const QString& file() const { return mFile; }

    // A value read whole, blanks around it and anything from a NUL on removed; the default
    // when the file or the key is missing.
    QString value(const QString& section, const QString& key, const QString& defaultValue = QString()) const;
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
    bool mAutoRefresh = false;
    QString mSpaceChar;
    QVector<HotKeyEntry> mHotKeys;
    View mStartView = View::Work;
    int mOverdueDays = kDefaultOverdueDays;
    QString mCurrencyCode;  // empty: the locale's
};

// The text as a settings value is used: trimmed, and cut at a NUL.
QString CleanIniValue(const QString& text);
