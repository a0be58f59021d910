#include "support/EditorTestKit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>

#include "gui/KeySender.h"

bool settle(const KeySender* sender)
{
    const auto queued = [sender] {
        if (sender)
            return sender->busy();
        for (const QWidget* window : QApplication::topLevelWidgets())
            for (const KeySender* s : window->findChildren<KeySender*>())
                if (s->busy())
                    return true;
        return false;
    };
    QElapsedTimer clock;
    clock.start();
    while (queued() && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    return !queued();
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

