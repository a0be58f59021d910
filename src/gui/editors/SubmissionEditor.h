#pragma once
// The Submission editor: one Work sent to one Publisher, with its dates, status, outcome and
// notes. Saving also keeps the yes/no flags of that Work and Publisher up to date, in the
// same transaction as the submission itself (RecordStore::saveSubmission).

#include <functional>
#include <optional>

#include "core/SubmissionStatus.h"
#include "gui/editors/EditorWindow.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class SubmissionEditor : public EditorWindow {
    Q_OBJECT
public:
    SubmissionEditor(Session& session, Desktop desktop, QWidget* parent = nullptr);

    // Field codes of the hot-key target.
    enum Field { kSubmitted = 1, kReturned = 2, kOutcome = 3, kNotes = 4, kFee = 5, kPayment = 6, kPaid = 7 };

    // OK with an empty work or publisher list has nothing it could save: it closes.
    void onOkClicked() override;
    void onSubmittedTodayClicked();
    void onReturnedTodayClicked();

protected:
    QWidget* firstField() const override;
    void loadDefaults() override;
    bool loadRecord(RecordStore& store, int id) override;
    void fillLists(RecordStore& store) override;
    SaveResult beforeSave() override;
    int writeRecord(RecordStore& store, int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The status whose button is chosen; nothing when none is.
    std::optional<SubmissionStatus> chosenStatus() const;
    // Controls; tests find them by their object names.
    QLabel* workLabel = nullptr;
    QListWidget* workList = nullptr;        // item data (Qt::UserRole): the work's ID
    QLabel* publisherLabel = nullptr;
    QListWidget* publisherList = nullptr;   // item data (Qt::UserRole): the publisher's ID
    QLabel* submittedLabel = nullptr;
    QLineEdit* submittedEdit = nullptr;
    QPushButton* submittedTodayButton = nullptr;
    QLabel* returnedLabel = nullptr;
    QLineEdit* returnedEdit = nullptr;
    QPushButton* returnedTodayButton = nullptr;
    QGroupBox* statusFrame = nullptr;
    QButtonGroup* statusGroup = nullptr;     // each button's ID is its SubmissionStatus
    QLabel* outcomeLabel = nullptr;
    QPlainTextEdit* outcomeEdit = nullptr;
    QLabel* notesLabel = nullptr;
    QPlainTextEdit* notesEdit = nullptr;
    // Amounts in the locale's number format; Paid On empties when Payment does.
    QLabel* feeLabel = nullptr;
    QLineEdit* feeEdit = nullptr;
    QLabel* paymentLabel = nullptr;
    QLineEdit* paymentEdit = nullptr;
    QLabel* paidLabel = nullptr;
    QLineEdit* paidEdit = nullptr;

    // Leaving a date field: a text that is not a date is emptied without a word.
    void checkDate(QLineEdit* field);
    void fillToday(QLineEdit* field);
    // Sending the work again to a publisher that has it out or rejected it is asked first.
    SaveResult askAboutResubmission();
    // Sending a work that is out elsewhere when either publisher takes no simultaneous
    // submissions is asked first.
    SaveResult askAboutSimultaneous();
    // Asks the question the lookup finds, if any: Yes saves, No goes back to the editor with
    // everything kept; a store that cannot be read refuses the save.
    SaveResult askBeforeSaving(const std::function<std::optional<QString>()>& question);
    void afterSave(int id) override;
    // A new submission's fee is its publisher's usual one.
    void takeUsualFee();
    QString amountText(const std::optional<qint64>& minor) const;

    // Work_ID and Publisher_ID as loaded ("Amend"); 0 for "New" or none.
    int mStoredWork = 0;
    int mStoredPublisher = 0;
    std::optional<SubmissionStatus> mStoredStatus;
    // The amounts as checked before the save, written by it.
    std::optional<qint64> mFee;
    std::optional<qint64> mPayment;
    // The save makes the submission accepted or published: the others still out are listed.
    bool mAccepting = false;
};
