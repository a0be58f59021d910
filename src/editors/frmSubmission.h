#pragma once
// The Submission editor: one Work sent to one Publisher, with its dates, status, outcome and
// notes. Saving also keeps the yes/no flags of that Work and Publisher up to date, in the
// same transaction as the submission itself (RecordStore::saveSubmission).

#include "editors/EditorBase.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

class frmSubmission : public EditorBase {
    Q_OBJECT
public:
    frmSubmission(Session& session, Desktop desktop, QWidget* parent = nullptr);

    // Field codes of the hot-key target.
    enum Field { kSubmitted = 1, kReturned = 2, kOutcome = 3, kNotes = 4 };
    // Status codes: the index of the chosen optStatus button.
    enum Status { kUnreturned = 0, kRejected = 1, kAccepted = 2, kPublished = 3 };

    QLabel* lblWork = nullptr;
    QListWidget* lstWork = nullptr;        // item data (Qt::UserRole): the work's ID
    QLabel* lblPublisher = nullptr;
    QListWidget* lstPublisher = nullptr;   // item data (Qt::UserRole): the publisher's ID
    QLabel* lblSubmitted = nullptr;
    QLineEdit* txtSubmitted = nullptr;
    QPushButton* cmdSubmittedToday = nullptr;
    QLabel* lblReturned = nullptr;
    QLineEdit* txtReturned = nullptr;
    QPushButton* cmdReturnedToday = nullptr;
    QGroupBox* frmStatus = nullptr;
    QButtonGroup* optStatus = nullptr;     // buttons 0 to 3 in code order
    QLabel* lblOutcome = nullptr;
    QPlainTextEdit* txtOutcome = nullptr;
    QLabel* lblNotes = nullptr;
    QPlainTextEdit* txtNotes = nullptr;

    // OK with an empty work or publisher list has nothing it could save: it closes.
    void cmdOK_Click();
    void cmdSubmittedToday_Click();
    void cmdReturnedToday_Click();

protected:
    QWidget* firstField() const override;
    void loadDefaults() override;
    bool loadRecord(RecordStore& store, int id) override;
    void fillLists(RecordStore& store) override;
    SaveResult beforeSave() override;
    int writeRecord(RecordStore& store, int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Leaving a date field: a text that is not a date is emptied without a word.
    void checkDate(QLineEdit* field);
    void fillToday(QLineEdit* field);

    // Work_ID and Publisher_ID as loaded ("Amend"); 0 for "New" or none.
    int mStoredWork = 0;
    int mStoredPublisher = 0;
};
