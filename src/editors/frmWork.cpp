#include "editors/frmWork.h"

#include <algorithm>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include "app/modQuillary.h"
#include "data/Statements.h"
#include "platform/Services.h"
#include "platform/Twips.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QWidget* buddy, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    label->adjustSize();
    label->move(twipsRect(left, top, 0, 0, parent).topLeft());
    return label;
}

// Year fields take digits and Backspace only.
bool isYearCharacter(QChar c)
{
    return c == QChar(8) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

frmWork::frmWork(QWidget* parent)
    : EditorBase(QStringLiteral("Work"), QStringLiteral("Work"), parent)
{
    setObjectName(QStringLiteral("frmWork"));
    setClientSize(7665, 5205, 7650);

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setGeometry(twipsRect(960, 930, 6495, 285, this));
    lblName = makeLabel(this, QStringLiteral("lblName"), QStringLiteral("Name :"), txtName, 225, 960);

    lstGenre = new QListWidget(this);
    lstGenre->setObjectName(QStringLiteral("lstGenre"));
    lstGenre->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGenre->setSortingEnabled(false);
    lstGenre->setGeometry(twipsRect(240, 1680, 2655, 2985, this));
    lblGenre = makeLabel(this, QStringLiteral("lblGenre"), QStringLiteral("Genre :"), lstGenre, 240, 1440);

    auto yearField = [this](const QString& name, int top) {
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setMaxLength(4);
        field->setGeometry(twipsRect(5040, top, 615, 285, this));
        return field;
    };
    txtYearWritten = yearField(QStringLiteral("txtYearWritten"), 1650);
    lblYearWritten = makeLabel(this, QStringLiteral("lblYearWritten"), QStringLiteral("Year Written :"),
                               txtYearWritten, 3720, 1680);
    txtYearAmended = yearField(QStringLiteral("txtYearAmended"), 2010);
    lblYearAmended = makeLabel(this, QStringLiteral("lblYearAmended"), QStringLiteral("Year Last Amended :"),
                               txtYearAmended, 3120, 2040);

    optSubmit = makeOptionGroup(&frmSubmit, QStringLiteral("Submit"), QStringLiteral("Submit?"), 3120, 2520, 240);
    optSubmitted = makeOptionGroup(&frmSubmitted, QStringLiteral("Submitted"), QStringLiteral("Currently Submitted?"),
                                   5400, 2520, 120);
    optAccepted = makeOptionGroup(&frmAccepted, QStringLiteral("Accepted"), QStringLiteral("Currently Accepted?"),
                                  3120, 3690, 120);
    optPublished = makeOptionGroup(&frmPublished, QStringLiteral("Published"), QStringLiteral("Published?"),
                                   5400, 3690, 120);

    addTextField(txtName, kName);
    // The year fields always select their year, even for a hot key: its digits replace it.
    addTextField(txtYearWritten, kYearWritten, false);
    addTextField(txtYearAmended, kYearAmended, false);
    setCharacterFilter(txtYearWritten, isYearCharacter);
    setCharacterFilter(txtYearAmended, isYearCharacter);

    watchForChanges(lstGenre);
    setFocusCode(lstGenre, 0);
    for (QButtonGroup* group : {optSubmit, optSubmitted, optAccepted, optPublished}) {
        watchForChanges(group);
        for (QAbstractButton* button : group->buttons())
            setFocusCode(button, 0);
    }
    setFocusCode(cmdOK, 0);
    setFocusCode(cmdCancel, 0);
    setFocusCode(cmdPrevious, 0);
    // Leaving by Next makes the name the hot-key target again.
    setFocusCode(cmdNext, kName);

    QWidget* order[] = {txtName, lstGenre, txtYearWritten, txtYearAmended,
                        optSubmit->button(kYes), optSubmit->button(kNo),
                        optSubmitted->button(kYes), optSubmitted->button(kNo),
                        optAccepted->button(kYes), optAccepted->button(kNo),
                        optPublished->button(kYes), optPublished->button(kNo)};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    finishSetup(order[std::size(order) - 1]);
}

QButtonGroup* frmWork::makeOptionGroup(QGroupBox** frame, const QString& name, const QString& title, int left,
                                       int top, int buttonLeft)
{
    *frame = new QGroupBox(title, this);
    (*frame)->setObjectName(QStringLiteral("frm") + name);
    (*frame)->setGeometry(twipsRect(left, top, 2055, 975, this));
    auto* group = new QButtonGroup(this);
    group->setObjectName(QStringLiteral("opt") + name);
    group->setExclusive(true);
    const QString captions[] = {QStringLiteral("Yes"), QStringLiteral("No")};
    const int tops[] = {360, 600};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(captions[i], *frame);
        button->setObjectName(QStringLiteral("opt%1%2").arg(name).arg(i));
        button->setAccessibleName(title + QLatin1Char(' ') + captions[i]);
        // Tall enough for the indicator without reaching the button below.
        QRect place = twipsRect(buttonLeft, tops[i], 735, 240, this);
        place.setWidth(std::max(place.width(), button->sizeHint().width()));
        button->setGeometry(place);
        group->addButton(button, i);
    }
    return group;
}

QWidget* frmWork::firstField() const
{
    return txtName;
}

void frmWork::loadDefaults()
{
    txtName->clear();
    txtYearWritten->setText(services().clock->today().toString(QStringLiteral("yyyy")));
    txtYearAmended->clear();
    setOption(optSubmit, kYes);
    setOption(optSubmitted, -1);
    setOption(optAccepted, -1);
    setOption(optPublished, -1);
}

void frmWork::loadRecord(const EditorRecord& record)
{
    txtName->setText(record.text(QStringLiteral("Name")));
    txtYearWritten->setText(record.text(QStringLiteral("Year_Written")));
    txtYearAmended->setText(record.text(QStringLiteral("Year_Last_Amended")));
    setOption(optSubmit, record.flag(QStringLiteral("Submit?")) ? kYes : kNo);
    setOption(optSubmitted, record.flag(QStringLiteral("Submitted?")) ? kYes : kNo);
    setOption(optAccepted, record.flag(QStringLiteral("Accepted?")) ? kYes : kNo);
    setOption(optPublished, record.flag(QStringLiteral("Published?")) ? kYes : kNo);
}

void frmWork::fillLists(SQLite::Database& database, const EditorRecord* record)
{
    lstGenre->clear();
    const QVariant genre = record ? record->value(QStringLiteral("Genre_ID")) : QVariant();
    SQLite::Statement query(database, sql::kGenres.toStdString());
    while (query.executeStep()) {
        const int id = query.getColumn("ID").getInt();
        auto* item = new QListWidgetItem(QString::fromUtf8(query.getColumn("Description_Singular").getText()), lstGenre);
        item->setData(Qt::UserRole, id);
        if (genre.isValid() && genre.toLongLong() == id) {
            lstGenre->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    if (!record && lstGenre->count() > 0)
        lstGenre->setCurrentRow(0);
}

int frmWork::selectedGenre() const
{
    const QList<QListWidgetItem*> selected = lstGenre->selectedItems();
    return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toInt();
}

EditorBase::SaveResult frmWork::beforeSave()
{
    if (lstGenre->selectedItems().isEmpty())
        return refuse(QStringLiteral("Choose a genre for this Work before saving."));
    if (!isNew())
        return SaveResult::Saved;
    // The name is bound: quotes in it cannot end the statement.
    bool exists = false;
    try {
        SQLite::Statement query(*gDatabase, sql::kWorkByName.toStdString());
        query.bind(1, txtName->text().toStdString());
        exists = query.executeStep();
    } catch (const std::exception& e) {
        return refuse(QStringLiteral("The Work could not be saved.\n\n%1").arg(QString::fromUtf8(e.what())));
    }
    if (exists
        && services().prompts->message(this, QStringLiteral("A Work with this name already exists in the system - continue?"),
                                       Prompts::Buttons::YesNo, Prompts::Icon::Critical, Prompts::Answer::Yes)
               != Prompts::Answer::Yes)
        return SaveResult::Declined;
    return SaveResult::Saved;
}

FieldValues frmWork::fieldValues() const
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes ? 1 : 0; };
    return {
        {QStringLiteral("Name"), txtName->text()},
        {QStringLiteral("Genre_ID"), selectedGenre()},
        {QStringLiteral("Year_Written"), txtYearWritten->text()},
        {QStringLiteral("Year_Last_Amended"), txtYearAmended->text()},
        {QStringLiteral("Submit?"), yes(optSubmit)},
        {QStringLiteral("Submitted?"), yes(optSubmitted)},
        {QStringLiteral("Accepted?"), yes(optAccepted)},
        {QStringLiteral("Published?"), yes(optPublished)},
    };
}
