#include "editors/frmWork.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "app/Conversions.h"
#include "core/Clock.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "editors/EditorWidgets.h"
#include "platform/Services.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

// Year fields take digits and Backspace only.
bool isYearCharacter(QChar c)
{
    return c == QChar(8) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

frmWork::frmWork(Session& session, Desktop desktop, QWidget* parent)
    : EditorBase(session, desktop, QStringLiteral("Work"), QStringLiteral("Work"), parent)
{
    setObjectName(QStringLiteral("frmWork"));
    auto* fields = new QGridLayout;

    // The name across the top.
    txtName = makeLineEdit(this, QStringLiteral("txtName"));
    lblName = makeLabel(this, QStringLiteral("lblName"), QStringLiteral("Name :"), txtName);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(lblName);
    nameRow->addWidget(txtName, 1);
    fields->addLayout(nameRow, 0, 0, 1, 2);
    fields->setRowMinimumHeight(1, fontMetrics().height() / 2);

    // The genres at the left, under their caption; beside them the years, then the flags.
    lstGenre = makeList(this, QStringLiteral("lstGenre"), QAbstractItemView::SingleSelection, 10);
    lblGenre = makeLabel(this, QStringLiteral("lblGenre"), QStringLiteral("Genre :"), lstGenre);
    fields->addWidget(lblGenre, 2, 0);
    fields->addWidget(lstGenre, 3, 0);

    auto* right = new QVBoxLayout;
    auto* years = new QGridLayout;
    txtYearWritten = makeLineEdit(this, QStringLiteral("txtYearWritten"), 4);
    lblYearWritten = makeLabel(this, QStringLiteral("lblYearWritten"), QStringLiteral("Year Written :"), txtYearWritten);
    txtYearAmended = makeLineEdit(this, QStringLiteral("txtYearAmended"), 4);
    lblYearAmended = makeLabel(this, QStringLiteral("lblYearAmended"), QStringLiteral("Year Last Amended :"),
                               txtYearAmended);
    for (QLineEdit* year : {txtYearWritten, txtYearAmended})
        fitFieldTo(year, QStringLiteral("0000"));
    years->addWidget(lblYearWritten, 0, 0, Qt::AlignRight);
    years->addWidget(txtYearWritten, 0, 1);
    years->addWidget(lblYearAmended, 1, 0, Qt::AlignRight);
    years->addWidget(txtYearAmended, 1, 1);
    years->setColumnStretch(2, 1);
    right->addLayout(years);

    optSubmit = makeYesNoGroup(this, &frmSubmit, QStringLiteral("Submit"), QStringLiteral("Submit?"));
    optSubmitted = makeYesNoGroup(this, &frmSubmitted, QStringLiteral("Submitted"),
                                  QStringLiteral("Currently Submitted?"));
    optAccepted = makeYesNoGroup(this, &frmAccepted, QStringLiteral("Accepted"), QStringLiteral("Currently Accepted?"));
    optPublished = makeYesNoGroup(this, &frmPublished, QStringLiteral("Published"), QStringLiteral("Published?"));
    auto* flags = new QGridLayout;
    flags->addWidget(frmSubmit, 0, 0);
    flags->addWidget(frmSubmitted, 0, 1);
    flags->addWidget(frmAccepted, 1, 0);
    flags->addWidget(frmPublished, 1, 1);
    flags->setColumnStretch(0, 1);
    flags->setColumnStretch(1, 1);
    right->addLayout(flags);
    right->addStretch(1);
    fields->addLayout(right, 3, 1);

    fields->setColumnStretch(0, 1);
    fields->setRowStretch(3, 1);
    fields->setHorizontalSpacing(fontMetrics().height());
    setFieldsLayout(fields);

    addTextField(txtName, kName);
    // The year fields always select their year, even for a hot key: its digits replace it.
    addTextField(txtYearWritten, kYearWritten, false);
    addTextField(txtYearAmended, kYearAmended, false);
    // Typed keys other than digits are dropped; the validator also covers paste, drop and
    // input methods, which the key filter never sees.
    for (QLineEdit* year : {txtYearWritten, txtYearAmended}) {
        setCharacterFilter(year, isYearCharacter);
        year->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), year));
    }

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

    finishSetup({txtName, lstGenre, txtYearWritten, txtYearAmended,
                 optSubmit->button(kYes), optSubmit->button(kNo),
                 optSubmitted->button(kYes), optSubmitted->button(kNo),
                 optAccepted->button(kYes), optAccepted->button(kNo),
                 optPublished->button(kYes), optPublished->button(kNo)});
}

QWidget* frmWork::firstField() const
{
    return txtName;
}

void frmWork::loadDefaults()
{
    txtName->clear();
    txtYearWritten->setText(session().clock().today().toString(QStringLiteral("yyyy")));
    txtYearAmended->clear();
    mStoredGenre = 0;
    setOption(optSubmit, kYes);
    setOption(optSubmitted, -1);
    setOption(optAccepted, -1);
    setOption(optPublished, -1);
}

bool frmWork::loadRecord(RecordStore& store, int id)
{
    const std::optional<WorkRecord> record = store.work(id);
    if (!record)
        return false;
    mStoredGenre = record->genreId;
    txtName->setText(record->name);
    txtYearWritten->setText(record->yearWritten);
    txtYearAmended->setText(record->yearLastAmended);
    setOption(optSubmit, record->submit ? kYes : kNo);
    setOption(optSubmitted, record->submitted ? kYes : kNo);
    setOption(optAccepted, record->accepted ? kYes : kNo);
    setOption(optPublished, record->published ? kYes : kNo);
    return true;
}

void frmWork::fillLists(RecordStore& store)
{
    lstGenre->clear();
    const int genre = isNew() ? 0 : mStoredGenre;
    for (const ListItem& entry : store.genres(RecordStore::GenreNames::Singular)) {
        auto* item = new QListWidgetItem(entry.text, lstGenre);
        item->setData(Qt::UserRole, entry.id);
        if (genre != 0 && genre == entry.id) {
            lstGenre->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    if (isNew() && lstGenre->count() > 0)
        lstGenre->setCurrentRow(0);
}

EditorBase::SaveResult frmWork::beforeSave()
{
    if (lstGenre->selectedItems().isEmpty())
        return refuse(QStringLiteral("Choose a genre for this Work before saving."));
    return askAboutSameName(View::Work, txtName->text());
}

int frmWork::writeRecord(RecordStore& store, int id)
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes; };
    WorkRecord work;
    work.id = id;
    work.name = txtName->text();
    work.genreId = selectedItemId(lstGenre);
    work.yearWritten = txtYearWritten->text();
    work.yearLastAmended = txtYearAmended->text();
    work.submit = yes(optSubmit);
    work.submitted = yes(optSubmitted);
    work.accepted = yes(optAccepted);
    work.published = yes(optPublished);
    return store.saveWork(work);
}
