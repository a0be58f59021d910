#include "app/Startup.h"

#include <QDir>
#include <QFileInfo>
#include <SQLiteCpp/Database.h>

#include "app/modQuillary.h"
#include "data/Database.h"
#include "hotkeys/HotKeys.h"
#include "platform/Services.h"

void SetProgramFolder(const QString& appDir)
{
    gAppPath = QDir::fromNativeSeparators(appDir);
    if (!gAppPath.endsWith(QLatin1Char('/')))
        gAppPath += QLatin1Char('/');
    gIniFile = gAppPath + QStringLiteral("QUILLARY.INI");
}

QString DatabasePath()
{
    const QString setting = GetIniSetting(QStringLiteral("Initialisation"), QStringLiteral("Database"), QString());
    if (setting.isEmpty())
        return gAppPath + QStringLiteral("Quillary.mdb");
    // A desktop program's working folder is arbitrary; the program's own folder is not.
    if (QFileInfo(setting).isRelative())
        return gAppPath + setting;
    return setting;
}

bool OpenStartupDatabase(const QString& path)
{
    Prompts* prompts = services().prompts;
    QString error;
    if (!QFileInfo::exists(path)) {
        const auto answer = prompts->message(nullptr,
            QStringLiteral("The database file %1 does not exist. Create a new database there?").arg(path),
            Prompts::Buttons::YesNo, Prompts::Icon::Question, Prompts::Answer::Yes);
        if (answer != Prompts::Answer::Yes)
            return false;
        gDatabase = db::createNew(path, &error);
        if (!gDatabase) {
            prompts->message(nullptr, error,
                             Prompts::Buttons::Ok, Prompts::Icon::Critical);
            return false;
        }
        return true;
    }
    gDatabase = db::openExisting(path, &error);
    if (!gDatabase) {
        prompts->message(nullptr, error,
                         Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    return true;
}

QStringList ReadStartupSettings()
{
    const QString init = QStringLiteral("Initialisation");
    QStringList warnings;

    gAutoRefresh = GetIniSetting(init, QStringLiteral("Auto-Refresh"), QStringLiteral("Yes")) == QStringLiteral("Yes");

    // Hot-key texts need exactly one non-blank character to stand for a blank.
    const QString spaceChar = GetIniSetting(init, QStringLiteral("Space-Substitution-Char"), QStringLiteral("_"));
    if (spaceChar.size() == 1 && !spaceChar.at(0).isSpace()) {
        gSpaceChar = spaceChar;
    } else {
        gSpaceChar = QStringLiteral("_");
        warnings << QStringLiteral("The Space-Substitution-Char setting \"%1\" is not one character other than a "
                                   "blank; \"_\" is used instead.").arg(spaceChar);
    }

    LoadHotKeys(&warnings);

    const QString mode = GetIniSetting(init, QStringLiteral("Mode"), QStringLiteral("Work"));
    if (mode == QStringLiteral("Work") || mode == QStringLiteral("Publisher") || mode == QStringLiteral("Submission")) {
        gViewMode = mode;
    } else {
        gViewMode = QStringLiteral("Work");
        warnings << QStringLiteral("The Mode setting \"%1\" is not Work, Publisher or Submission; the Work view is "
                                   "shown.").arg(mode);
    }
    return warnings;
}
