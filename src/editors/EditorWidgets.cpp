#include "editors/EditorWidgets.h"

#include <algorithm>

#include <QRadioButton>

#include "platform/Twips.h"

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    label->adjustSize();
    label->move(twipsRect(left, top, 0, 0, parent).topLeft());
    return label;
}

QLineEdit* makeLineEdit(QWidget* parent, const QString& name, const QRect& place, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    field->setGeometry(place);
    return field;
}

QPlainTextEdit* makeTextArea(QWidget* parent, const QString& name, const QRect& place)
{
    auto* area = new QPlainTextEdit(parent);
    area->setObjectName(name);
    area->setTabChangesFocus(true);
    area->setGeometry(place);
    return area;
}

QListWidget* makeList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode,
                      const QRect& place)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setSelectionMode(mode);
    list->setSortingEnabled(false);
    list->setGeometry(place);
    return list;
}

QButtonGroup* makeOptionGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                              const QRect& frameTwips, int buttonLeft, int buttonWidth, const QStringList& captions)
{
    *frame = new QGroupBox(title, parent);
    (*frame)->setObjectName(QStringLiteral("frm") + name);
    (*frame)->setGeometry(
        twipsRect(frameTwips.x(), frameTwips.y(), frameTwips.width(), frameTwips.height(), parent));
    auto* group = new QButtonGroup(parent);
    group->setObjectName(QStringLiteral("opt") + name);
    group->setExclusive(true);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], *frame);
        button->setObjectName(QStringLiteral("opt%1%2").arg(name).arg(i));
        // Tall enough for the indicator without reaching the button below.
        QRect place = twipsRect(buttonLeft, 360 + 240 * i, buttonWidth, 240, parent);
        place.setWidth(std::max(place.width(), button->sizeHint().width()));
        button->setGeometry(place);
        group->addButton(button, i);
    }
    return group;
}

QButtonGroup* makeYesNoGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                             const QRect& frameTwips, int buttonLeft)
{
    QButtonGroup* group = makeOptionGroup(parent, frame, name, title, frameTwips, buttonLeft, 735,
                                          {QStringLiteral("Yes"), QStringLiteral("No")});
    for (QAbstractButton* button : group->buttons())
        button->setAccessibleName(title + QLatin1Char(' ') + button->text());
    return group;
}

int selectedItemId(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toInt();
}
