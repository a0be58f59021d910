#include "core/Settings.h"

Settings::Settings(const QString& file) : mFile(file) {}

QString CleanIniValue(const QString& text)
{
    QString value = text.trimmed();
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value.truncate(nul);
    return value;
}

QString Settings::value(const QString& section, const QString& key, const QString& defaultValue) const
{
    const std::optional<QString> found = mFile.isEmpty() ? std::nullopt : profile::readFile(mFile, section, key);
    return CleanIniValue(found ? *found : defaultValue);
}

bool Settings::write(const QVector<profile::Setting>& values, QString* error) const
{
    return profile::writeFile(mFile, values, error);
}

QStringList Settings::load()
{
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
    mHotKeys.clear();
    for (int n = 1; n <= kMaxHotKeys; ++n) {
        const QString key = QString::number(n);
        const QString text = value(QStringLiteral("Hot-Keys"), key);
        if (text.isEmpty())
            break;
        const std::optional<HotKeyEntry> entry = ParseHotKeyEntry(text, mSpaceChar);
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
