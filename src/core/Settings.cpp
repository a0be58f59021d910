#include "core/Settings.h"

#include <QCoreApplication>

Settings::Settings(const QString& file) : mFile(file) {}

QString cleanIniValue(const QString& text)
{
    QString value = text.trimmed();
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value.truncate(nul);
    return value;
}

QString Settings::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    std::optional<QString> found;
    if (mReading) {
        found = mReading->value(section, key);
    } else if (!mFile.isEmpty()) {
        ++mReads;
        found = profile::readFile(mFile, section, key);
    }
    return cleanIniValue(found ? *found : defaultValue);
}

Settings::Reading::Reading(const Settings& settings) : mSettings(settings)
{
    if (settings.mReading)
        return;
    mOwn = true;
    std::optional<QByteArray> content;
    if (!settings.mFile.isEmpty()) {
        ++settings.mReads;
        content = profile::readContent(settings.mFile);
    }
    settings.mReading.emplace(content.value_or(QByteArray()));
}

Settings::Reading::~Reading()
{
    if (mOwn)
        mSettings.mReading.reset();
}

bool Settings::write(const QVector<profile::Setting>& values, QString* error) const
{
    const bool written = profile::writeFile(mFile, values, error);
    // What is read next is what was written.
    if (written && mReading)
        mReading.emplace(profile::readContent(mFile).value_or(QByteArray()));
    return written;
}

QStringList Settings::load()
{
    const Reading reading(*this);
    const QString init = QStringLiteral("Initialisation");
    QStringList warnings;

    mAutoRefresh = value(init, QStringLiteral("Auto-Refresh"), QStringLiteral("Yes")) == QStringLiteral("Yes");

    // Hot-key texts need exactly one non-blank character to stand for a blank.
    const QString spaceChar = value(init, QStringLiteral("Space-Substitution-Char"), QStringLiteral("_"));
    if (spaceChar.size() == 1 && !spaceChar.at(0).isSpace()) {
        mSpaceChar = spaceChar;
    } else {
        mSpaceChar = QStringLiteral("_");
        warnings << QStringLiteral("The Space-Substitution-Char setting \"%1\" is not one character other than a "
                                   "blank; \"_\" is used instead.").arg(spaceChar);
    }

    loadHotKeys(&warnings);

    QString overdueWarning;
    mOverdueDays = readOverdueDays(*this, &overdueWarning);
    if (!overdueWarning.isEmpty())
        warnings << overdueWarning;

    // Only the label of the amounts: another code never converts them.
    const QString currency = value(init, QStringLiteral("Currency"));
    if (Currency::isCode(currency.toUpper())) {
        mCurrencyCode = currency.toUpper();
    } else {
        mCurrencyCode.clear();
        warnings << QStringLiteral("The Currency setting \"%1\" is not a three-letter currency code such as GBP; "
                                   "%2 is used instead.").arg(currency, Currency().code());
    }

    const QString mode = value(init, QStringLiteral("Mode"), QStringLiteral("Work"));
    if (const std::optional<View> view = viewFromName(mode)) {
        mStartView = *view;
    } else {
        mStartView = View::Work;
        warnings << QStringLiteral("The Mode setting \"%1\" is not Work, Publisher or Submission; the Work view is "
                                   "shown.").arg(mode);
    }
    return warnings;
}

void Settings::loadHotKeys(QStringList* warnings)
{
    const Reading reading(*this);
    mHotKeys.clear();
    for (int n = 1; n <= kMaxHotKeys; ++n) {
        const QString key = QString::number(n);
        const QString text = value(QStringLiteral("Hot-Keys"), key);
        if (text.isEmpty())
            break;
        const std::optional<HotKeyEntry> entry = parseHotKeyEntry(text, mSpaceChar);
        if (!entry) {
            if (warnings)
                *warnings << QStringLiteral("Hot key entry \"%1\" in the settings file has no key code "
                                            "and text (caption,code,text); it and the entries after it "
                                            "are ignored.").arg(key);
            break;
        }
        mHotKeys << *entry;
    }
}

int readOverdueDays(const Settings& settings, QString* warning)
{
    const QString text = settings.value(QStringLiteral("Initialisation"), QStringLiteral("Overdue-Days"));
    if (text.isEmpty())
        return kDefaultOverdueDays;
    bool ok = false;
    const int days = text.toInt(&ok);
    if (ok && days >= 0)
        return days;
    if (warning)
        *warning = QCoreApplication::translate("Overdue",
                                               "The Overdue-Days setting \"%1\" is not a whole number of days; "
                                               "%2 is used instead.")
                       .arg(text)
                       .arg(kDefaultOverdueDays);
    return kDefaultOverdueDays;
}
