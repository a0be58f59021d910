#include "app/modQuillary.h"

#include <QTimer>
#include <QWidget>
#include <SQLiteCpp/Database.h>

#include "platform/ProfileFile.h"
#include "platform/Services.h"
#include "platform/StatusPanel.h"

QString gViewMode;
QString gEditAction;
int gRecordID = 0;
int gNavigate = 0;
bool gAtFirstRow = false;
bool gAtLastRow = false;
bool gDataChanged = false;
std::unique_ptr<SQLite::Database> gDatabase;
QStringList gSelections;
QVector<int> gRowIDs;
int gSelectID = 0;
bool gAutoRefresh = false;
QString gSpaceChar;
int gHotKeyCount = 0;
QStringList gHotKeyCaptions;
QVector<int> gHotKeyCodes;
QStringList gHotKeyTexts;
QString gFindText;
bool gFindMatchCase = false;
bool gFindWholeCell = false;
QString gIniFile;
QString gAppPath;

void ResetSharedState()
{
    gViewMode.clear();
    gEditAction.clear();
    gRecordID = 0;
    gNavigate = 0;
    gAtFirstRow = false;
    gAtLastRow = false;
    gDataChanged = false;
    gDatabase.reset();
    gSelections.clear();
    gRowIDs.clear();
    gSelectID = 0;
    gAutoRefresh = false;
    gSpaceChar.clear();
    gHotKeyCount = 0;
    gHotKeyCaptions.clear();
    gHotKeyCodes.clear();
    gHotKeyTexts.clear();
    gFindText.clear();
    gFindMatchCase = false;
    gFindWholeCell = false;
    gIniFile.clear();
    gAppPath.clear();
}

QString CleanIniValue(const QString& text)
{
    QString value = text.trimmed();
    const qsizetype nul = value.indexOf(QChar(u'\0'));
    if (nul >= 0)
        value.truncate(nul);
    return value;
}

QString GetIniSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    const std::optional<QString> value = profile::readFile(gIniFile, section, key);
    return CleanIniValue(value ? *value : defaultValue);
}

bool PutIniSetting(const QString& section, const QString& key, const QString& value)
{
    return PutIniSettings({{section, key, value}});
}

bool PutIniSettings(const QVector<profile::Setting>& settings)
{
    QString error;
    if (profile::writeFile(gIniFile, settings, &error))
        return true;
    services().prompts->message(nullptr,
        QStringLiteral("The settings file %1 could not be written: %2").arg(gIniFile, error),
        Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return false;
}

void ShowStatusMessage(QWidget* window, const QString& text, int seconds)
{
    if (!window)
        return;
    auto* panel = window->findChild<StatusPanel*>(QStringLiteral("pnlStatus"));
    auto* timer = window->findChild<QTimer*>(QStringLiteral("tmrMessage"));
    if (panel)
        panel->setCaption(text + QLatin1Char(' '));
    if (timer) {
        timer->stop();
        // An interval of 0 means the message stays until the next one replaces it.
        if (seconds > 0) {
            timer->setInterval(seconds * 1000);
            timer->start();
        }
    }
}
