#include "support/EditorTestKit.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>

#include "hotkeys/SendKeys.h"

bool settle()
{
    QElapsedTimer clock;
    clock.start();
    while (SendKeysPending() && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    return !SendKeysPending();
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

void setHotKeys(std::initializer_list<HotKeySetting> keys)
{
    gHotKeyCount = static_cast<int>(keys.size());
    gHotKeyCaptions.clear();
    gHotKeyCodes.clear();
    gHotKeyTexts.clear();
    for (const HotKeySetting& key : keys) {
        gHotKeyCaptions << key.caption;
        gHotKeyCodes << key.code;
        gHotKeyTexts << key.text;
    }
}
