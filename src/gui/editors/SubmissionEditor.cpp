#include "gui/editors/SubmissionEditor.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/StatusMessage.h"
#include "core/RecordStore.h"
#include "core/OtherSubmissions.h"
#include "core/Resubmission.h"
#include "core/DateText.h"
#include "core/StoredDate.h"
#include "core/Clock.h"
#include "core/Session.h"
#include "gui/editors/EditorWidgets.h"
#include "gui/Prompts.h"

namespace {

// Date fields take digits, "/" and Backspace; Enter reaches the default button (OK).
bool isDateCharacter(QChar c)
{
    return c == QChar(8) || c == QLatin1Char('/') || (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

} // namespace

SubmissionEditor::SubmissionEditor(Session& session, Desktop desktop, QWidget* parent)
    : EditorWindow(session, desktop, QStringLiteral("Submission"), parent)
{
    setObjectName(QStringLiteral("SubmissionEditor"));
    auto* fields = new QVBoxLayout;

    // Side by side: the works, the publishers, then the dates and the status.
    auto* top = new QGridLayout;
    top->setVerticalSpacing(2);
    workList = makeList(this, QStringLiteral("workList"), QAbstractItemView::SingleSelection, 9);
    workLabel = makeLabel(this, QStringLiteral("workLabel"), tr("Work :"), workList);
    top->addWidget(workLabel, 0, 0);
    top->addWidget(workList, 1, 0);
    publisherList = makeList(this, QStringLiteral("publisherList"), QAbstractItemView::SingleSelection, 9);
    publisherLabel = makeLabel(this, QStringLiteral("publisherLabel"), tr("Publisher :"), publisherList);
    top->addWidget(publisherLabel, 0, 1);
    top->addWidget(publisherList, 1, 1);

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
    submittedEdit = makeLineEdit(this, QStringLiteral("submittedEdit"), 10);
    submittedLabel = makeLabel(this, QStringLiteral("submittedLabel"), tr("Submitted :"), submittedEdit);
    submittedTodayButton = todayButton(QStringLiteral("submittedTodayButton"));
    returnedEdit = makeLineEdit(this, QStringLiteral("returnedEdit"), 10);
    returnedLabel = makeLabel(this, QStringLiteral("returnedLabel"), tr("Returned :"), returnedEdit);
    returnedTodayButton = todayButton(QStringLiteral("returnedTodayButton"));
    for (QLineEdit* date : {submittedEdit, returnedEdit})
        fitFieldTo(date, QStringLiteral("00/00/0000"));
    dates->addWidget(submittedLabel, 0, 0);
    dates->addWidget(submittedEdit, 0, 1);
    dates->addWidget(submittedTodayButton, 0, 2);
    dates->addWidget(returnedLabel, 1, 0);
    dates->addWidget(returnedEdit, 1, 1);
    dates->addWidget(returnedTodayButton, 1, 2);

    statusGroup = makeOptionGroup(this, &statusFrame, QStringLiteral("status"), QStringLiteral("Status"),
                                {QStringLiteral("&Unreturned"), QStringLiteral("&Rejected"),
                                 QStringLiteral("&Accepted"), QStringLiteral("&Published")});
    dates->addWidget(statusFrame, 2, 0, 1, 3);

    feeEdit = makeLineEdit(this, QStringLiteral("feeEdit"), 16);
    feeLabel = makeLabel(this, QStringLiteral("feeLabel"), tr("&Fee :"), feeEdit);
    paymentEdit = makeLineEdit(this, QStringLiteral("paymentEdit"), 16);
    paymentLabel = makeLabel(this, QStringLiteral("paymentLabel"), tr("Pa&yment :"), paymentEdit);
    paidEdit = makeLineEdit(this, QStringLiteral("paidEdit"), 10);
    paidLabel = makeLabel(this, QStringLiteral("paidLabel"), tr("Paid &On :"), paidEdit);
    for (QLineEdit* amount : {feeEdit, paymentEdit}) {
        fitFieldTo(amount, QStringLiteral("0,000,000.000"));
        amount->setAlignment(Qt::AlignRight);
        amount->setToolTip(tr("In %1; empty: none.").arg(session.settings().currency().code()));
    }
    fitFieldTo(paidEdit, QStringLiteral("00/00/0000"));
    dates->addWidget(feeLabel, 3, 0);
    dates->addWidget(feeEdit, 3, 1);
    dates->addWidget(paymentLabel, 4, 0);
    dates->addWidget(paymentEdit, 4, 1);
    dates->addWidget(paidLabel, 5, 0);
    dates->addWidget(paidEdit, 5, 1);
    dates->setRowStretch(6, 1);
    top->addLayout(dates, 1, 2);
    top->setColumnStretch(0, 1);
    top->setColumnStretch(1, 1);
    top->setRowStretch(1, 1);
    top->setHorizontalSpacing(fontMetrics().height());
    fields->addLayout(top, 9);
    fields->addSpacing(fontMetrics().height() / 2);

    // The outcome and the notes across the whole width.
    outcomeEdit = makeTextArea(this, QStringLiteral("outcomeEdit"), 3);
    outcomeLabel = makeLabel(this, QStringLiteral("outcomeLabel"), tr("Outcome :"), outcomeEdit);
    fields->addLayout(captionAbove(outcomeLabel, outcomeEdit), 3);
    notesEdit = makeTextArea(this, QStringLiteral("notesEdit"), 3);
    notesLabel = makeLabel(this, QStringLiteral("notesLabel"), tr("Notes :"), notesEdit);
    fields->addLayout(captionAbove(notesLabel, notesEdit), 3);
    stretchByHeight(fields);
    setFieldsLayout(fields);

    addTextField(submittedEdit, kSubmitted);
    addTextField(returnedEdit, kReturned);
    addTextField(outcomeEdit, kOutcome);
    addTextField(notesEdit, kNotes);
    addTextField(feeEdit, kFee);
    addTextField(paymentEdit, kPayment);
    addTextField(paidEdit, kPaid);
    setCharacterFilter(submittedEdit, isDateCharacter);
    setCharacterFilter(returnedEdit, isDateCharacter);
    setCharacterFilter(paidEdit, isDateCharacter);
    // No payment, no date it came on.
    connect(paymentEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty())
            paidEdit->clear();
    });
    // Only a new submission follows its publisher's usual fee; an amendment keeps what was paid.
    connect(publisherList, &QListWidget::itemSelectionChanged, this, [this] {
        if (isNew())
            takeUsualFee();
    });
    watchForChanges(workList);
    watchForChanges(publisherList);
    watchForChanges(statusGroup);
    // Lists and status buttons leave the hot-key target alone, so a hot key still types into
    // the text field edited before; only Previous and Next (set by the frame) clear it.

    connect(submittedTodayButton, &QPushButton::clicked, this, &SubmissionEditor::onSubmittedTodayClicked);
    connect(returnedTodayButton, &QPushButton::clicked, this, &SubmissionEditor::onReturnedTodayClicked);

    finishSetup({workList, publisherList, submittedEdit, submittedTodayButton, returnedEdit, returnedTodayButton,
                 statusGroup->button(0), statusGroup->button(1), statusGroup->button(2), statusGroup->button(3),
                 feeEdit, paymentEdit, paidEdit, outcomeEdit, notesEdit});
}

QWidget* SubmissionEditor::firstField() const
{
    return workList;
}

void SubmissionEditor::loadDefaults()
{
    submittedEdit->setText(formatDateText(session().clock().today()));
    returnedEdit->clear();
    outcomeEdit->clear();
    notesEdit->clear();
    feeEdit->clear();
    paymentEdit->clear();
    paidEdit->clear();
    mStoredWork = 0;
    mStoredPublisher = 0;
    mStoredStatus.reset();
    // One "&Today" button at a time, so its accelerator is never ambiguous.
    submittedTodayButton->setVisible(true);
    returnedTodayButton->setVisible(false);
    setOption(statusGroup, static_cast<int>(SubmissionStatus::Unreturned));
}

bool SubmissionEditor::loadRecord(RecordStore& store, int id)
{
    const std::optional<SubmissionRecord> record = store.submission(id);
    if (!record)
        return false;
    mStoredWork = record->workId;
    mStoredPublisher = record->publisherId;
    // A submission's dates: a day number of 0 or below shows as no date.
    submittedEdit->setText(formatDateText(decodeStoredDate(record->dateSubmitted, DateRule::PositiveOnly)));
    returnedEdit->setText(formatDateText(decodeStoredDate(record->dateReturned, DateRule::PositiveOnly)));
    outcomeEdit->setPlainText(record->outcome);
    notesEdit->setPlainText(record->notes);
    feeEdit->setText(amountText(record->fee));
    paymentEdit->setText(amountText(record->payment));
    paidEdit->setText(formatDateText(decodeStoredDate(record->datePaid, DateRule::PositiveOnly)));
    mStoredStatus = record->status;
    submittedTodayButton->setVisible(false);
    returnedTodayButton->setVisible(true);
    // A status without a value or outside the four codes selects no button.
    const std::optional<SubmissionStatus> status = record->status;
    setOption(statusGroup, status && isKnownStatus(*status) ? static_cast<int>(*status) : -1);
    return true;
}

void SubmissionEditor::fillLists(RecordStore& store)
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
    fill(workList, store.worksByName(), isNew() ? 0 : mStoredWork, isNew());
    fill(publisherList, store.publishersByName(), isNew() ? 0 : mStoredPublisher, isNew());
}

QString SubmissionEditor::amountText(const std::optional<qint64>& minor) const
{
    return minor ? session().settings().currency().formatNumber(*minor) : QString();
}

void SubmissionEditor::takeUsualFee()
{
    const int publisher = selectedItemId(publisherList);
    if (publisher == 0 || !session().isOpen())
        return;
    try {
        const std::optional<PublisherRecord> record = session().store().publisher(publisher);
        feeEdit->setText(amountText(record ? record->usualFee : std::nullopt));
    } catch (const RecordStoreError&) {
        // The fee is only a suggestion: the field stays as it was.
    }
}

EditorWindow::SaveResult SubmissionEditor::beforeSave()
{
    if (selectedItemId(workList) == 0)
        return refuse(tr("Choose a Work for this Submission before saving."));
    if (selectedItemId(publisherList) == 0)
        return refuse(tr("Choose a Publisher for this Submission before saving."));
    // Enter in a date field, or Esc and Yes, saves before leaving the field has checked it.
    const std::pair<QLineEdit*, QString> dates[] = {{submittedEdit, QStringLiteral("Submitted")},
                                                    {returnedEdit, QStringLiteral("Returned")},
                                                    {paidEdit, QStringLiteral("Paid On")}};
    for (const auto& [field, name] : dates) {
        if (!encodeTypedDate(field->text()).isValid()) {
            field->setFocus(Qt::OtherFocusReason);
            return refuse(tr("The %1 date \"%2\" is not a date (dd/mm/yyyy).").arg(name, field->text()));
        }
    }
    const Currency currency = session().settings().currency();
    const std::pair<QLineEdit*, QString> amounts[] = {{feeEdit, tr("Fee")}, {paymentEdit, tr("Payment")}};
    for (const auto& [field, name] : amounts) {
        const Currency::Parsed parsed = currency.parse(field->text());
        if (!parsed.ok()) {
            field->setFocus(Qt::OtherFocusReason);
            return refuse(tr("The %1 cannot be saved: %2").arg(name, parsed.error));
        }
        (field == feeEdit ? mFee : mPayment) = parsed.minor;
    }
    const SaveResult resubmission = askAboutResubmission();
    if (resubmission != SaveResult::Saved)
        return resubmission;
    return askAboutSimultaneous();
}

std::optional<SubmissionStatus> SubmissionEditor::chosenStatus() const
{
    const int button = optionIndex(statusGroup);
    return button >= 0 ? std::optional<SubmissionStatus>(static_cast<SubmissionStatus>(button)) : std::nullopt;
}

EditorWindow::SaveResult SubmissionEditor::askAboutSimultaneous()
{
    const int work = selectedItemId(workList);
    const int publisher = selectedItemId(publisherList);
    if (!isNew() && work == mStoredWork && publisher == mStoredPublisher)
        return SaveResult::Saved;
    // Recording an answered submission sends nothing: only one going out is asked about.
    const std::optional<SubmissionStatus> status = chosenStatus();
    const bool goesOut = status ? *status == SubmissionStatus::Unreturned
                                : isNew() || mStoredStatus == SubmissionStatus::Unreturned;
    if (!goesOut)
        return SaveResult::Saved;
    return askBeforeSaving([&]() -> std::optional<QString> {
        const auto conflict =
            session().store().simultaneousConflict(work, publisher, isNew() ? 0 : recordId().value_or(0));
        return conflict ? std::optional<QString>(simultaneousQuestion(*conflict)) : std::nullopt;
    });
}

EditorWindow::SaveResult SubmissionEditor::askBeforeSaving(const std::function<std::optional<QString>()>& question)
{
    std::optional<QString> text;
    try {
        text = question();
    } catch (const RecordStoreError& e) {
        return refuse(e.message());
    }
    if (text && desktop().prompts.message(this, *text, Prompts::Buttons::YesNo, Prompts::Icon::Question,
                                          Prompts::Answer::No)
                    != Prompts::Answer::Yes)
        return SaveResult::Refused;  // back to the editor, everything kept
    return SaveResult::Saved;
}

void SubmissionEditor::afterSave(int id)
{
    if (!mAccepting || !session().isOpen())
        return;
    mAccepting = false;
    const int work = selectedItemId(workList);
    try {
        const QList<OtherSubmission> others = session().store().otherUnreturned(work, id);
        if (others.isEmpty())
            return;
        QStringList lines;
        for (const OtherSubmission& other : others)
            lines << QStringLiteral("    ") + otherSubmissionLine(other);
        const QString text = tr("%1 is still out with:\n\n%2\n\nWithdraw it from all of them now? Each becomes "
                                "Rejected, returned today, with the outcome \"Withdrawn\".")
                                 .arg(workList->selectedItems().first()->text(), lines.join(QLatin1Char('\n')));
        if (desktop().prompts.choose(this, text, tr("&Withdraw All"), tr("&Not Now")) != Prompts::Answer::Yes)
            return;
        QList<int> ids;
        for (const OtherSubmission& other : others)
            ids << other.id;
        session().store().withdrawSubmissions(ids, session().clock().today());
    } catch (const RecordStoreError& e) {
        // The acceptance itself is saved; only the withdrawal failed.
        desktop().prompts.message(this, tr("The other submissions could not be withdrawn: %1").arg(e.message()),
                                  Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
}

EditorWindow::SaveResult SubmissionEditor::askAboutResubmission()
{
    const int work = selectedItemId(workList);
    const int publisher = selectedItemId(publisherList);
    // An amendment that keeps its work and publisher sends nothing again.
    if (!isNew() && work == mStoredWork && publisher == mStoredPublisher)
        return SaveResult::Saved;
    return askBeforeSaving([&]() -> std::optional<QString> {
        const auto earlier = session().store().earlierSubmission(work, publisher, isNew() ? 0 : recordId().value_or(0));
        return earlier ? std::optional<QString>(resubmissionQuestion(*earlier)) : std::nullopt;
    });
}

int SubmissionEditor::writeRecord(RecordStore& store, int id)
{
    SubmissionRecord submission;
    submission.id = id;
    submission.workId = selectedItemId(workList);
    submission.publisherId = selectedItemId(publisherList);
    submission.dateSubmitted = encodeTypedDate(submittedEdit->text());
    submission.dateReturned = encodeTypedDate(returnedEdit->text());
    submission.outcome = outcomeEdit->toPlainText();
    submission.notes = notesEdit->toPlainText();
    submission.fee = mFee;
    submission.payment = mPayment;
    submission.datePaid = encodeTypedDate(paidEdit->text());
    // No status chosen: a stored one stays, a new row takes the table's default (outstanding).
    submission.status = chosenStatus();
    const bool accepts = submission.status && isAcceptance(*submission.status);
    try {
        const int saved = store.saveSubmission(submission);
        mAccepting = accepts && (isNew() || mStoredStatus != submission.status);
        return saved;
    } catch (const RecordStoreError& e) {
        // Gone since the lists were filled: named as the list shows it.
        if (e.reason() == RecordStoreError::Reason::MissingWork)
            throw SaveRefusal(QStringLiteral("The Work \"%1\" no longer exists; choose another.")
                                  .arg(workList->selectedItems().first()->text()));
        if (e.reason() == RecordStoreError::Reason::MissingPublisher)
            throw SaveRefusal(QStringLiteral("The Publisher \"%1\" no longer exists; choose another.")
                                  .arg(publisherList->selectedItems().first()->text()));
        throw;
    }
}

void SubmissionEditor::onOkClicked()
{
    if (workList->count() == 0 || publisherList->count() == 0) {
        // Nothing could be saved without a work and a publisher to choose from.
        mChanged = false;
    }
    EditorWindow::onOkClicked();
}

void SubmissionEditor::onSubmittedTodayClicked()
{
    fillToday(submittedEdit);
}

void SubmissionEditor::onReturnedTodayClicked()
{
    fillToday(returnedEdit);
}

void SubmissionEditor::fillToday(QLineEdit* field)
{
    field->setText(formatDateText(session().clock().today()));
    field->setFocus(Qt::OtherFocusReason);
    // Arriving in the field selects it; a field that kept the focus is selected here.
    field->selectAll();
}

void SubmissionEditor::checkDate(QLineEdit* field)
{
    if (!field->text().isEmpty() && !parseDateText(field->text()))
        field->clear();
}

bool SubmissionEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == submittedEdit || watched == returnedEdit || watched == paidEdit)) {
        // A menu or another window taking the focus for a while is not leaving the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            checkDate(static_cast<QLineEdit*>(watched));
    }
    return EditorWindow::eventFilter(watched, event);
}
