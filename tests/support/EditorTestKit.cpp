#include "support/EditorTestKit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>

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

void clickItem(QListWidget* list, int row, Qt::KeyboardModifiers modifiers)
{
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
}

QList<int> selectedIds(const QListWidget* list)
{
    QList<int> ids;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            ids << list->item(i)->data(Qt::UserRole).toInt();
    return ids;
}

