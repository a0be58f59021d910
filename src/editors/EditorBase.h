#pragma once
// What the three record editors share: the button bar (OK, Cancel, hot-key buttons,
// Previous and Next), the status panel, the editor's own row, the change flag, the hot-key
// target field, and the closing and saving frame.
//
// Building an editor on it:
//
//   class frmThing : public EditorBase {
//   public:
//       explicit frmThing(QWidget* parent = nullptr)
//           : EditorBase(QStringLiteral("Thing"), QStringLiteral("Thing"), parent)
//       {
//           auto* fields = new QGridLayout;
//           ... create the fields as children of this, add them to fields ...
//           setFieldsLayout(fields);       // between fraButtons and pnlStatus
//           addTextField(txtName, 1);      // field code 1: hot-key target, focus rule
//           setFocusCode(lstKind, 0);      // focus here clears the hot-key target
//           watchForChanges(lstKind);      // any edit sets mChanged
//           finishSetup({txtName, lstKind}); // tab order, then the button bar
//       }
//   protected:
//       QWidget* firstField() const override;                   // focus on every showing
//       void loadDefaults() override;                            // "New"
//       void loadRecord(const EditorRecord& record) override;    // "Amend"
//       void fillLists(SQLite::Database&, const EditorRecord*) override;
//       FieldValues fieldValues() const override;               // columns to write, in order
//       SaveResult beforeSave() override;                        // questions and checks
//   };
//
// The window opener (the main window) sets gEditAction, gRecordID, gAtFirstRow, gAtLastRow
// and gNavigate, then calls run(): Load() and, when the record could be shown, exec().
// The editor answers only through gNavigate, gDataChanged and gSelectID.
//
// Saving is all or nothing: the editor's own row and every extra write of the hooks run in
// one transaction. A save that cannot be made is refused with a message and the window
// stays open with everything typed.

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLayout;
class QPushButton;
class QVBoxLayout;
class QTimer;
class HotKeyBar;
class StatusPanel;
namespace SQLite { class Database; }

// The editor's own table row as it was read when the editor loaded ("mTable").
// Column names are matched without regard to case (Work_ID is also Work_Id).
class EditorRecord {
public:
    int id = 0;

    void set(const QString& column, const QVariant& value) { mValues.insert(column.toLower(), value); }
    bool contains(const QString& column) const { return mValues.contains(column.toLower()); }
    // Null (or a missing column) gives an invalid QVariant.
    QVariant value(const QString& column) const { return mValues.value(column.toLower()); }
    // Null reads as the empty text.
    QString text(const QString& column) const;
    // Null reads as false.
    bool flag(const QString& column) const;
    // Null reads as 0.
    qint64 number(const QString& column) const;

private:
    QHash<QString, QVariant> mValues;
};

// Columns and values of one save, in the order they are written. A null QVariant writes Null.
using FieldValues = QList<QPair<QString, QVariant>>;

// Thrown by a save hook (beforeWrite, afterWrite) to refuse the save: everything written so
// far is rolled back, the message is shown and the editor stays open.
class SaveRefusal : public std::runtime_error {
public:
    explicit SaveRefusal(const QString& message);
    QString message() const { return mMessage; }

private:
    QString mMessage;
};

class EditorBase : public QDialog {
    Q_OBJECT
public:
    enum class SaveResult {
        Saved,     // written and committed; gSelectID and gDataChanged are set
        Declined,  // the user chose not to save (duplicate-name No), or the record is gone:
                   // nothing written, the editor closes
        Refused,   // could not be saved; the message has been shown, the editor stays open
    };

    ~EditorBase() override;

    // The load sequence: title, hot-key buttons, the own row ("Amend") or the defaults
    // ("New"), the lookup lists, Previous/Next, and the change flag cleared. False when
    // the record cannot be shown (it no longer exists, or the database failed); the user
    // has been told, and the window is not to be shown.
    bool Load();
    // Load() and, when it succeeds, exec(). The result of exec(), or Rejected.
    int run();

    // Controls common to every editor, named as the program knows them.
    QFrame* fraButtons = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QList<QPushButton*> cmdHotKey;   // indexes 0 to 4
    QPushButton* cmdPrevious = nullptr;
    QPushButton* cmdNext = nullptr;
    StatusPanel* pnlStatus = nullptr;
    QTimer* tmrMessage = nullptr;

    // Editor state, open to tests.
    bool mChanged = false;      // something was edited since loading finished
    int mLastField = 0;         // code of the hot-key target field; 0 = none
    bool mHotKeyFocus = false;  // the next focus of a text field keeps its selection

    const QString& designTitle() const { return mDesignTitle; }
    const QString& tableName() const { return mTable; }
    // The row read at load; empty for "New" and after saving or closing.
    const std::optional<EditorRecord>& record() const { return mRecord; }
    HotKeyBar* hotKeys() const { return mHotKeys; }

    // Button handlers (also reached by Enter, Esc and the title-bar close box).
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdPrevious_Click();
    void cmdNext_Click();
    void cmdHotKey_Click(int index);

    // Writes the record as the editor shows it. Normally reached through the buttons.
    SaveResult SaveRecord();
    // Lets go of the row read at load without writing.
    void CloseTable();

    // Option groups of two or more buttons: index of the checked button, -1 for none;
    // setOption(-1) clears the group, which an exclusive group cannot do by itself.
    static int optionIndex(const QButtonGroup* group);
    static void setOption(QButtonGroup* group, int index);

protected:
    // designTitle: "Work", "Publisher" or "Submission"; table: the editor's own table.
    EditorBase(const QString& designTitle, const QString& table, QWidget* parent = nullptr);

    // --- Set-up helpers for the constructor of an editor ---

    // Puts the editor's own fields between the button bar across the top and the status
    // panel along the bottom, giving them the room the window has to spare.
    void setFieldsLayout(QLayout* fields);
    // A text field (QLineEdit, QTextEdit or QPlainTextEdit) that can be the hot-key target.
    // On focus it sets mLastField := code and follows the field focus rule: select all,
    // unless mHotKeyFocus is set, which it then clears and keeps the selection.
    // With honoursHotKeyFocus false it always selects all and leaves mHotKeyFocus alone.
    // Its edits set mChanged.
    void addTextField(QWidget* field, int code, bool honoursHotKeyFocus = true);
    // Focus arriving in the control sets mLastField := code. By default cmdPrevious and
    // cmdNext set 0; an editor may add controls or change a code.
    void setFocusCode(QWidget* control, int code);
    // Edits of the control set mChanged: text changes, list clicks and selection changes,
    // button clicks and toggles.
    void watchForChanges(QObject* control);
    // Lets through only the characters accept() takes; keys that type no character
    // (arrows, Tab, Delete, Enter, Esc, function keys) always pass. Sent hot-key keystrokes
    // pass through the same filter.
    void setCharacterFilter(QWidget* field, std::function<bool(QChar)> accept);
    // Call last in the constructor: the tab order through the fields as listed, then the
    // button bar.
    void finishSetup(std::initializer_list<QWidget*> fields);

    // --- What each editor provides ---

    // The field that gets the focus each time the window is shown.
    virtual QWidget* firstField() const = 0;
    // "New": put the defaults into the controls.
    virtual void loadDefaults() = 0;
    // "Amend": copy the fields of the row into the controls.
    virtual void loadRecord(const EditorRecord& record) = 0;
    // Fill the lookup lists and select the entries of the record (null for "New", which
    // selects the defaults).
    virtual void fillLists(SQLite::Database& database, const EditorRecord* record) = 0;
    // Columns of the own table and their values, in saving order.
    virtual FieldValues fieldValues() const = 0;
    // Checks and questions before anything is written: Saved to go on, Declined to close
    // without writing, Refused (after refuse()) to keep the window open.
    virtual SaveResult beforeSave() { return SaveResult::Saved; }
    // Inside the save's transaction, before and after the own row is written. id is the
    // row's ID (a new row's too). Throw SaveRefusal, or let an engine error through, to
    // roll the whole save back.
    virtual void beforeWrite(SQLite::Database& database) { (void)database; }
    virtual void afterWrite(SQLite::Database& database, int id) { (void)database; (void)id; }
    // After the commit, before gSelectID and gDataChanged are set.
    virtual void afterSave(int id) { (void)id; }

    // "New" only: when byNameStatement (the name bound as its one parameter) finds a row,
    // asks whether to save another of that name. Saved, Declined, or Refused if it failed.
    SaveResult askAboutSameName(const QString& byNameStatement, const QString& name);
    // Shows a save problem (Warning icon, OK) and returns Refused.
    SaveResult refuse(const QString& message);
    // The editor was loaded for "New".
    bool isNew() const;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The shared closing pattern; askFirst: prompt before saving when something changed.
    // navigate: the gNavigate this close asks for (0 leaves it alone).
    void finish(bool askFirst, int navigate);
    void closeEditor();
    void markChanged();
    bool onFocusIn(QWidget* widget, QFocusEvent* event);
    void recordGone();

    struct TextField {
        int code;
        bool honoursHotKeyFocus;
    };

    QString mDesignTitle;
    bool mNew = false;  // opened for "New" (taken from gEditAction at load)
    QString mTable;
    std::optional<EditorRecord> mRecord;
    HotKeyBar* mHotKeys = nullptr;
    QVBoxLayout* mColumn = nullptr;  // button bar, fields, status panel
    QHash<QWidget*, TextField> mTextFields;
    QHash<QWidget*, int> mFocusCodes;
    QHash<QWidget*, std::function<bool(QChar)>> mCharacterFilters;
    bool mClosing = false;
    bool mActivationPending = false;
    bool mRedelivering = false;
    // The selection a one-line field had when it last lost the focus: a hot-key button
    // takes the focus, and its text must replace what was selected.
    struct SavedSelection {
        QWidget* field = nullptr;
        int start = -1;
        int length = 0;
        int cursor = 0;
    };
    SavedSelection mSavedSelection;
};
