#include "gui/editors/EditorWidgets.h"

#include <algorithm>

#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

namespace {

// A text area whose first height is given in lines of its font.
class LinesTextArea : public QPlainTextEdit {
public:
    LinesTextArea(QWidget* parent, int lines) : QPlainTextEdit(parent), mLines(std::max(lines, 2)) {}

    QSize sizeHint() const override
    {
        return QSize(30 * fontMetrics().averageCharWidth(), heightFor(mLines));
    }
    QSize minimumSizeHint() const override
    {
        return QSize(10 * fontMetrics().averageCharWidth(), heightFor(2));
    }

private:
    int heightFor(int lines) const
    {
        const int margins = 2 * (frameWidth() + qRound(document()->documentMargin()));
        return lines * fontMetrics().lineSpacing() + margins + contentsMargins().top() + contentsMargins().bottom();
    }

    int mLines;
};

// A list as wide as its widest entry, so names are not cut; a very long one scrolls instead
// of widening the window past the screen.
class FittingList : public QListWidget {
public:
    FittingList(QWidget* parent, int rows) : QListWidget(parent), mRows(std::max(rows, 3))
    {
        auto forget = [this] {
            mEntriesWidth = -1;
            updateGeometry();
        };
        connect(model(), &QAbstractItemModel::rowsInserted, this, forget);
        connect(model(), &QAbstractItemModel::rowsRemoved, this, forget);
        connect(model(), &QAbstractItemModel::modelReset, this, forget);
        connect(model(), &QAbstractItemModel::dataChanged, this, forget);
    }
    // The list's items go after this part of it: their removal must not reach it.
    ~FittingList() override { disconnect(model(), nullptr, this, nullptr); }

    QSize sizeHint() const override { return QSize(fittingWidth(), heightFor(mRows)); }
    QSize minimumSizeHint() const override { return QSize(fittingWidth(), heightFor(3)); }

private:
    int rowHeight() const
    {
        const int row = count() > 0 ? sizeHintForRow(0) : -1;
        return row > 0 ? row : fontMetrics().height() + 2;
    }
    int heightFor(int rows) const { return rows * rowHeight() + 2 * frameWidth(); }

    int fittingWidth() const
    {
        const QFontMetrics metrics = fontMetrics();
        if (mEntriesWidth < 0) {
            int widest = 0;
            for (int i = 0; i < count(); ++i)
                widest = std::max(widest, metrics.horizontalAdvance(item(i)->text()));
            mEntriesWidth = widest;
        }
        const int character = metrics.averageCharWidth();
        // Two lists side by side and the fields beside them still fit on the screen.
        const QScreen* shown = screen();
        const int widest = std::max(24 * character, shown ? shown->availableGeometry().width() / 3 : 0);
        const int entries = std::clamp(mEntriesWidth + 2 * character, 12 * character, widest);
        return entries + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    }

    int mRows;
    mutable int mEntriesWidth = -1;  // the widest entry's text, measured once per change
};

} // namespace

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* makeLineEdit(QWidget* parent, const QString& name, int maxLength)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    if (maxLength > 0)
        field->setMaxLength(maxLength);
    return field;
}

void fitFieldTo(QLineEdit* field, const QString& widest)
{
    field->ensurePolished();
    const QFontMetrics metrics = field->fontMetrics();
    // A line edit asks for 17 "x" plus its frame and margins: keep the frame and margins.
    const int around = field->sizeHint().width() - 17 * metrics.horizontalAdvance(QLatin1Char('x'));
    field->setFixedWidth(around + metrics.horizontalAdvance(widest) + metrics.averageCharWidth());
}

QPlainTextEdit* makeTextArea(QWidget* parent, const QString& name, int lines)
{
    auto* area = new LinesTextArea(parent, lines);
    area->setObjectName(name);
    area->setTabChangesFocus(true);
    return area;
}

QListWidget* makeList(QWidget* parent, const QString& name, QAbstractItemView::SelectionMode mode, int rows)
{
    auto* list = new FittingList(parent, rows);
    list->setObjectName(name);
    list->setSelectionMode(mode);
    list->setSortingEnabled(false);
    return list;
}

QButtonGroup* makeOptionGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title,
                              const QStringList& captions)
{
    *frame = new QGroupBox(title, parent);
    (*frame)->setObjectName(name + QStringLiteral("Frame"));
    auto* column = new QVBoxLayout(*frame);
    auto* group = new QButtonGroup(parent);
    group->setObjectName(name + QStringLiteral("Group"));
    group->setExclusive(true);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i], *frame);
        button->setObjectName(QStringLiteral("%1Option%2").arg(name).arg(i));
        // As wide as its caption: a click beside the caption does not choose the button.
        column->addWidget(button, 0, Qt::AlignLeft);
        group->addButton(button, i);
    }
    column->addStretch(1);
    return group;
}

QButtonGroup* makeYesNoGroup(QWidget* parent, QGroupBox** frame, const QString& name, const QString& title)
{
    QButtonGroup* group = makeOptionGroup(parent, frame, name, title, {QStringLiteral("Yes"), QStringLiteral("No")});
    for (QAbstractButton* button : group->buttons())
        button->setAccessibleName(title + QLatin1Char(' ') + button->text());
    return group;
}

QVBoxLayout* captionAbove(QLabel* caption, QWidget* field)
{
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(caption);
    column->addWidget(field, 1);
    return column;
}

void stretchByHeight(QBoxLayout* column)
{
    for (int i = 0; i < column->count(); ++i) {
        if (column->stretch(i) > 0)
            column->setStretch(i, std::max(1, column->itemAt(i)->sizeHint().height()));
    }
}

int selectedItemId(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toInt();
}
