#include "gui/editors/WorkEditor.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "core/Conversions.h"
#include "core/Clock.h"
#include "core/RecordStore.h"
#include "core/Session.h"
#include "gui/editors/EditorWidgets.h"
#include "gui/Prompts.h"

namespace {

constexpr int kYes = 0;
constexpr int kNo = 1;

// Year fields take digits and Backspace only.
bool isYearCharacter(QChar c)
{
    return c == QChar(8) || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

WorkEditor::WorkEditor(Session& session, Desktop desktop, QWidget* parent)
    : EditorWindow(session, desktop, QStringLiteral("Work"), parent)
{
    setObjectName(QStringLiteral("WorkEditor"));
    auto* fields = new QGridLayout;

    // The name across the top.
    nameEdit = makeLineEdit(this, QStringLiteral("nameEdit"));
    nameLabel = makeLabel(this, QStringLiteral("nameLabel"), tr("Name :"), nameEdit);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(nameEdit, 1);
    fields->addLayout(nameRow, 0, 0, 1, 2);
    fields->setRowMinimumHeight(1, fontMetrics().height() / 2);

    // The genres at the left, under their caption; beside them the years, then the flags.
    genreList = makeList(this, QStringLiteral("genreList"), QAbstractItemView::SingleSelection, 10);
    genreLabel = makeLabel(this, QStringLiteral("genreLabel"), tr("Genre :"), genreList);
    fields->addWidget(genreLabel, 2, 0);
    fields->addWidget(genreList, 3, 0);

    auto* right = new QVBoxLayout;
    auto* years = new QGridLayout;
    yearWrittenEdit = makeLineEdit(this, QStringLiteral("yearWrittenEdit"), 4);
    yearWrittenLabel = makeLabel(this, QStringLiteral("yearWrittenLabel"), tr("Year Written :"), yearWrittenEdit);
    yearAmendedEdit = makeLineEdit(this, QStringLiteral("yearAmendedEdit"), 4);
    yearAmendedLabel = makeLabel(this, QStringLiteral("yearAmendedLabel"), tr("Year Last Amended :"),
                               yearAmendedEdit);
    for (QLineEdit* year : {yearWrittenEdit, yearAmendedEdit})
        fitFieldTo(year, QStringLiteral("0000"));
    years->addWidget(yearWrittenLabel, 0, 0, Qt::AlignRight);
    years->addWidget(yearWrittenEdit, 0, 1);
    years->addWidget(yearAmendedLabel, 1, 0, Qt::AlignRight);
    years->addWidget(yearAmendedEdit, 1, 1);
    years->setColumnStretch(2, 1);
    right->addLayout(years);

    submitGroup = makeYesNoGroup(this, &submitFrame, QStringLiteral("submit"), QStringLiteral("Submit?"));
    submittedGroup = makeYesNoGroup(this, &submittedFrame, QStringLiteral("submitted"),
                                  QStringLiteral("Currently Submitted?"));
    acceptedGroup = makeYesNoGroup(this, &acceptedFrame, QStringLiteral("accepted"), QStringLiteral("Currently Accepted?"));
    publishedGroup = makeYesNoGroup(this, &publishedFrame, QStringLiteral("published"), QStringLiteral("Published?"));
    auto* flags = new QGridLayout;
    flags->addWidget(submitFrame, 0, 0);
    flags->addWidget(submittedFrame, 0, 1);
    flags->addWidget(acceptedFrame, 1, 0);
    flags->addWidget(publishedFrame, 1, 1);
    flags->setColumnStretch(0, 1);
    flags->setColumnStretch(1, 1);
    right->addLayout(flags);
    right->addStretch(1);
    fields->addLayout(right, 3, 1);

    fields->setColumnStretch(0, 1);
    fields->setRowStretch(3, 1);
    fields->setHorizontalSpacing(fontMetrics().height());
    setFieldsLayout(fields);

    addTextField(nameEdit, kName);
    // The year fields always select their year, even for a hot key: its digits replace it.
    addTextField(yearWrittenEdit, kYearWritten, false);
    addTextField(yearAmendedEdit, kYearAmended, false);
    // Typed keys other than digits are dropped; the validator also covers paste, drop and
    // input methods, which the key filter never sees.
    for (QLineEdit* year : {yearWrittenEdit, yearAmendedEdit}) {
        setCharacterFilter(year, isYearCharacter);
        year->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), year));
    }

    watchForChanges(genreList);
    setFocusCode(genreList, 0);
    for (QButtonGroup* group : {submitGroup, submittedGroup, acceptedGroup, publishedGroup}) {
        watchForChanges(group);
        for (QAbstractButton* button : group->buttons())
            setFocusCode(button, 0);
    }
    setFocusCode(okButton, 0);
    setFocusCode(cancelButton, 0);
    setFocusCode(previousButton, 0);
    // Leaving by Next makes the name the hot-key target again.
    setFocusCode(nextButton, kName);

    finishSetup({nameEdit, genreList, yearWrittenEdit, yearAmendedEdit,
                 submitGroup->button(kYes), submitGroup->button(kNo),
                 submittedGroup->button(kYes), submittedGroup->button(kNo),
                 acceptedGroup->button(kYes), acceptedGroup->button(kNo),
                 publishedGroup->button(kYes), publishedGroup->button(kNo)});
}

QWidget* WorkEditor::firstField() const
{
    return nameEdit;
}

void WorkEditor::loadDefaults()
{
    nameEdit->clear();
    yearWrittenEdit->setText(session().clock().today().toString(QStringLiteral("yyyy")));
    yearAmendedEdit->clear();
    mStoredGenre = 0;
    setOption(submitGroup, kYes);
    setOption(submittedGroup, -1);
    setOption(acceptedGroup, -1);
    setOption(publishedGroup, -1);
}

bool WorkEditor::loadRecord(RecordStore& store, int id)
{
    const std::optional<WorkRecord> record = store.work(id);
    if (!record)
        return false;
    mStoredGenre = record->genreId;
    nameEdit->setText(record->name);
    yearWrittenEdit->setText(record->yearWritten);
    yearAmendedEdit->setText(record->yearLastAmended);
    setOption(submitGroup, record->submit ? kYes : kNo);
    setOption(submittedGroup, record->submitted ? kYes : kNo);
    setOption(acceptedGroup, record->accepted ? kYes : kNo);
    setOption(publishedGroup, record->published ? kYes : kNo);
    return true;
}

void WorkEditor::fillLists(RecordStore& store)
{
    genreList->clear();
    const int genre = isNew() ? 0 : mStoredGenre;
    for (const ListItem& entry : store.genres(RecordStore::GenreNames::Singular)) {
        auto* item = new QListWidgetItem(entry.text, genreList);
        item->setData(Qt::UserRole, entry.id);
        if (genre != 0 && genre == entry.id) {
            genreList->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    if (isNew() && genreList->count() > 0)
        genreList->setCurrentRow(0);
}

EditorWindow::SaveResult WorkEditor::beforeSave()
{
    if (genreList->selectedItems().isEmpty())
        return refuse(tr("Choose a genre for this Work before saving."));
    return askAboutSameName(View::Work, nameEdit->text());
}

int WorkEditor::writeRecord(RecordStore& store, int id)
{
    auto yes = [](const QButtonGroup* group) { return optionIndex(group) == kYes; };
    WorkRecord work;
    work.id = id;
    work.name = nameEdit->text();
    work.genreId = selectedItemId(genreList);
    work.yearWritten = yearWrittenEdit->text();
    work.yearLastAmended = yearAmendedEdit->text();
    work.submit = yes(submitGroup);
    work.submitted = yes(submittedGroup);
    work.accepted = yes(acceptedGroup);
    work.published = yes(publishedGroup);
    return store.saveWork(work);
}
