#include "editors/frmSubmission.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/modQuillary.h"
#include "core/RecordStore.h"
#include "editors/DateText.h"
#include "core/Clock.h"
#include "core/Session.h"
#include "editors/EditorWidgets.h"
#include "platform/Services.h"

namespace {

// Date fields take digits, "/" and Backspace; Enter reaches the default button (OK).
bool isDateCharacter(QChar c)
{
    return c == QChar(8) || c == QLatin1Char('/') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

frmSubmission::frmSubmission(Session& session, Desktop desktop, QWidget* parent)
    : EditorBase(session, desktop, QStringLiteral("Submission"), QStringLiteral("Submission"), parent)
{
    setObjectName(QStringLiteral("frmSubmission"));
    auto* fields = new QVBoxLayout;

    // Side by side: the works, the publishers, then the dates and the status.
    auto* top = new QGridLayout;
    top->setVerticalSpacing(2);
    lstWork = makeList(this, QStringLiteral("lstWork"), QAbstractItemView::SingleSelection, 9);
    lblWork = makeLabel(this, QStringLiteral("lblWork"), QStringLiteral("Work :"), lstWork);
    top->addWidget(lblWork, 0, 0);
    top->addWidget(lstWork, 1, 0);
    lstPublisher = makeList(this, QStringLiteral("lstPublisher"), QAbstractItemView::SingleSelection, 9);
    lblPublisher = makeLabel(this, QStringLiteral("lblPublisher"), QStringLiteral("Publisher :"), lstPublisher);
    top->addWidget(lblPublisher, 0, 1);
    top->addWidget(lstPublisher, 1, 1);

    auto todayButton = [this](const QString& name) {
        auto* button = new QPushButton(QStringLiteral("&Today"), this);
        button->setObjectName(name);
        // Only one of the two shows at a time; the other keeps its place.
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
        return button;
    };
    auto* dates = new QGridLayout;
    txtSubmitted = makeLineEdit(this, QStringLiteral("txtSubmitted"), 10);
    lblSubmitted = makeLabel(this, QStringLiteral("lblSubmitted"), QStringLiteral("Submitted :"), txtSubmitted);
    cmdSubmittedToday = todayButton(QStringLiteral("cmdSubmittedToday"));
    txtReturned = makeLineEdit(this, QStringLiteral("txtReturned"), 10);
    lblReturned = makeLabel(this, QStringLiteral("lblReturned"), QStringLiteral("Returned :"), txtReturned);
    cmdReturnedToday = todayButton(QStringLiteral("cmdReturnedToday"));
    for (QLineEdit* date : {txtSubmitted, txtReturned})
        fitFieldTo(date, QStringLiteral("00/00/0000"));
    dates->addWidget(lblSubmitted, 0, 0);
    dates->addWidget(txtSubmitted, 0, 1);
    dates->addWidget(cmdSubmittedToday, 0, 2);
    dates->addWidget(lblReturned, 1, 0);
    dates->addWidget(txtReturned, 1, 1);
    dates->addWidget(cmdReturnedToday, 1, 2);

    optStatus = makeOptionGroup(this, &frmStatus, QStringLiteral("Status"), QStringLiteral("Status"),
                                {QStringLiteral("&Unreturned"), QStringLiteral("&Rejected"),
                                 QStringLiteral("&Accepted"), QStringLiteral("&Published")});
    dates->addWidget(frmStatus, 2, 0, 1, 2);
    dates->setRowStretch(3, 1);
    top->addLayout(dates, 1, 2);
    top->setColumnStretch(0, 1);
    top->setColumnStretch(1, 1);
    top->setRowStretch(1, 1);
    top->setHorizontalSpacing(fontMetrics().height());
    fields->addLayout(top, 9);
    fields->addSpacing(fontMetrics().height() / 2);

    // The outcome and the notes across the whole width.
    txtOutcome = makeTextArea(this, QStringLiteral("txtOutcome"), 3);
    lblOutcome = makeLabel(this, QStringLiteral("lblOutcome"), QStringLiteral("Outcome :"), txtOutcome);
    fields->addLayout(captionAbove(lblOutcome, txtOutcome), 3);
    txtNotes = makeTextArea(this, QStringLiteral("txtNotes"), 3);
    lblNotes = makeLabel(this, QStringLiteral("lblNotes"), QStringLiteral("Notes :"), txtNotes);
    fields->addLayout(captionAbove(lblNotes, txtNotes), 3);
    stretchByHeight(fields);
    setFieldsLayout(fields);

    addTextField(txtSubmitted, kSubmitted);
    addTextField(txtReturned, kReturned);
    addTextField(txtOutcome, kOutcome);
    addTextField(txtNotes, kNotes);
    setCharacterFilter(txtSubmitted, isDateCharacter);
    setCharacterFilter(txtReturned, isDateCharacter);
    watchForChanges(lstWork);
    watchForChanges(lstPublisher);
    watchForChanges(optStatus);
    // Lists and status buttons leave the hot-key target alone, so a hot key still types into
    // the text field edited before; only Previous and Next (set by the frame) clear it.

    // OK gets the empty-list guard in front of the common closing.
    disconnect(cmdOK, &QPushButton::clicked, this, &EditorBase::cmdOK_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSubmission::cmdOK_Click);
    connect(cmdSubmittedToday, &QPushButton::clicked, this, &frmSubmission::cmdSubmittedToday_Click);
    connect(cmdReturnedToday, &QPushButton::clicked, this, &frmSubmission::cmdReturnedToday_Click);

    finishSetup({lstWork, lstPublisher, txtSubmitted, cmdSubmittedToday, txtReturned, cmdReturnedToday,
                 optStatus->button(0), optStatus->button(1), optStatus->button(2), optStatus->button(3),
                 txtOutcome, txtNotes});
}

QWidget* frmSubmission::firstField() const
{
    return lstWork;
}

void frmSubmission::loadDefaults()
{
    txtSubmitted->setText(FormatDateText(session().clock().today()));
    txtReturned->clear();
    txtOutcome->clear();
    txtNotes->clear();
    mStoredWork = 0;
    mStoredPublisher = 0;
    // One "&Today" button at a time, so its accelerator is never ambiguous.
    cmdSubmittedToday->setVisible(true);
    cmdReturnedToday->setVisible(false);
    setOption(optStatus, kUnreturned);
}

bool frmSubmission::loadRecord(RecordStore& store, int id)
{
    const std::optional<SubmissionRecord> record = store.submission(id);
    if (!record)
        return false;
    mStoredWork = record->workId;
    mStoredPublisher = record->publisherId;
    txtSubmitted->setText(ShowStoredDate(record->dateSubmitted));
    txtReturned->setText(ShowStoredDate(record->dateReturned));
    txtOutcome->setPlainText(record->outcome);
    txtNotes->setPlainText(record->notes);
    cmdSubmittedToday->setVisible(false);
    cmdReturnedToday->setVisible(true);
    // A status without a value or outside the four codes selects no button.
    const std::optional<int> status = record->status;
    setOption(optStatus, status && *status >= kUnreturned && *status <= kPublished ? *status : -1);
    return true;
}

void frmSubmission::fillLists(RecordStore& store)
{
    auto fill = [](QListWidget* list, const QList<ListItem>& entries, int chosen, bool isNew) {
        list->clear();
        for (const ListItem& entry : entries) {
            auto* item = new QListWidgetItem(entry.text, list);
            item->setData(Qt::UserRole, entry.id);
            if (chosen != 0 && chosen == entry.id && list->selectedItems().isEmpty()) {
                list->setCurrentItem(item);
                item->setSelected(true);
            }
        }
        if (isNew && list->count() > 0)
            list->setCurrentRow(0);
    };
    fill(lstWork, store.worksByName(), isNew() ? 0 : mStoredWork, isNew());
    fill(lstPublisher, store.publishersByName(), isNew() ? 0 : mStoredPublisher, isNew());
}

EditorBase::SaveResult frmSubmission::beforeSave()
{
    if (selectedItemId(lstWork) == 0)
        return refuse(QStringLiteral("Choose a Work for this Submission before saving."));
    if (selectedItemId(lstPublisher) == 0)
        return refuse(QStringLiteral("Choose a Publisher for this Submission before saving."));
    // Enter in a date field, or Esc and Yes, saves before leaving the field has checked it.
    const std::pair<QLineEdit*, QString> dates[] = {{txtSubmitted, QStringLiteral("Submitted")},
                                                    {txtReturned, QStringLiteral("Returned")}};
    for (const auto& [field, name] : dates) {
        if (!StoredDate(field->text()).isValid()) {
            field->setFocus(Qt::OtherFocusReason);
            return refuse(QStringLiteral("The %1 date \"%2\" is not a date (dd/mm/yyyy).").arg(name, field->text()));
        }
    }
    return SaveResult::Saved;
}

int frmSubmission::writeRecord(RecordStore& store, int id)
{
    SubmissionRecord submission;
    submission.id = id;
    submission.workId = selectedItemId(lstWork);
    submission.publisherId = selectedItemId(lstPublisher);
    submission.dateSubmitted = StoredDate(txtSubmitted->text());
    submission.dateReturned = StoredDate(txtReturned->text());
    submission.outcome = txtOutcome->toPlainText();
    submission.notes = txtNotes->toPlainText();
    // No status chosen: a stored one stays, a new row takes the table's default (outstanding).
    const int status = optionIndex(optStatus);
    if (status >= kUnreturned)
        submission.status = status;
    try {
        return store.saveSubmission(submission);
    } catch (const RecordStoreError& e) {
        // Gone since the lists were filled: named as the list shows it.
        if (e.reason() == RecordStoreError::Reason::MissingWork)
            throw SaveRefusal(QStringLiteral("The Work \"%1\" no longer exists; choose another.")
                                  .arg(lstWork->selectedItems().first()->text()));
        if (e.reason() == RecordStoreError::Reason::MissingPublisher)
            throw SaveRefusal(QStringLiteral("The Publisher \"%1\" no longer exists; choose another.")
                                  .arg(lstPublisher->selectedItems().first()->text()));
        throw;
    }
}

void frmSubmission::cmdOK_Click()
{
    if (lstWork->count() == 0 || lstPublisher->count() == 0) {
        // Nothing could be saved without a work and a publisher to choose from.
        mChanged = false;
    }
    EditorBase::cmdOK_Click();
}

void frmSubmission::cmdSubmittedToday_Click()
{
    fillToday(txtSubmitted);
}

void frmSubmission::cmdReturnedToday_Click()
{
    fillToday(txtReturned);
}

void frmSubmission::fillToday(QLineEdit* field)
{
    field->setText(FormatDateText(session().clock().today()));
    field->setFocus(Qt::OtherFocusReason);
    // Arriving in the field selects it; a field that kept the focus is selected here.
    field->selectAll();
}

void frmSubmission::checkDate(QLineEdit* field)
{
    if (!field->text().isEmpty() && !ParseDateText(field->text()))
        field->clear();
}

bool frmSubmission::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == txtSubmitted || watched == txtReturned)) {
        // A menu or another window taking the focus for a while is not leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            checkDate(static_cast<QLineEdit*>(watched));
    }
    return EditorBase::eventFilter(watched, event);
}
