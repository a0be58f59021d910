#include "gui/StatusMessage.h"
#include <QTimer>
#include <QWidget>
#include "gui/StatusPanel.h"

void showStatusMessage(QWidget* window, const QString& text, int seconds)
{
    if (!window)
        return;
    auto* panel = window->findChild<StatusPanel*>(QStringLiteral("statusPanel"));
    auto* timer = window->findChild<QTimer*>(QStringLiteral("messageTimer"));
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
