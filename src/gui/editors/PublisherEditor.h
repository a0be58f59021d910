#pragma once
// The Publisher editor: one row of the Publisher table with its type, the genres it takes
// (its Publisher_Genre rows), two yes/no flags and its texts and addresses.

#include <optional>

#include "gui/editors/EditorWindow.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

class PublisherEditor : public EditorWindow {
    Q_OBJECT
public:
    PublisherEditor(Session& session, Desktop desktop, QWidget* parent = nullptr);

    // Field codes of the hot-key target (there is no 3).
    enum Field { kName = 1, kGuidelines = 2, kComments = 4, kAddress = 5, kEmail = 6, kWeb = 7, kAnswerWithin = 8,
                 kUsualFee = 9 };
    // simultaneousGroup: button 0 "Yes", 1 "No", 2 "Not known".

    // Each group: button 0 "Yes", button 1 "No".

    // The address a double click hands to the desktop; empty when there is nothing to open.
    static QString emailLink(const QString& text);
    static QString webLink(const QString& text);

    // Top entry for a list whose first selected entry is firstSelected: that entry, but no
    // further down than count - 3 and not before the first. -1 leaves the list as it is.
    static int listTopIndex(int firstSelected, int count);

    // What a double click on the two address fields does: opens the address as a link.
    void openEmailLink();
    void openWebLink();

protected:
    QWidget* firstField() const override;
    void loadDefaults() override;
    bool loadRecord(RecordStore& store, int id) override;
    void fillLists(RecordStore& store) override;
    SaveResult beforeSave() override;
    int writeRecord(RecordStore& store, int id) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls; tests find them by their object names.
    QLabel* nameLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QLabel* typeLabel = nullptr;
    QListWidget* typeList = nullptr;    // item data (Qt::UserRole): the type's ID
    QLabel* genreLabel = nullptr;
    QListWidget* genreList = nullptr;   // item data (Qt::UserRole): the genre's ID
    QGroupBox* submitFrame = nullptr;
    QGroupBox* submittedFrame = nullptr;
    QButtonGroup* submitGroup = nullptr;
    QButtonGroup* submittedGroup = nullptr;
    QLabel* addressLabel = nullptr;
    QPlainTextEdit* addressEdit = nullptr;
    QLabel* emailLabel = nullptr;
    QLineEdit* emailEdit = nullptr;
    QLabel* webLabel = nullptr;
    QLineEdit* answerWithinEdit = nullptr;
    QLabel* answerWithinLabel = nullptr;
    QLineEdit* webEdit = nullptr;
    // Days the publisher answers within (digits; empty: the Overdue-Days setting applies).
    QGroupBox* simultaneousFrame = nullptr;
    QButtonGroup* simultaneousGroup = nullptr;
    QLabel* usualFeeLabel = nullptr;
    QLineEdit* usualFeeEdit = nullptr;   // in the locale's number format; empty: none
    std::optional<qint64> mUsualFee;     // as checked before the save
    QLabel* guidelinesLabel = nullptr;
    QPlainTextEdit* guidelinesEdit = nullptr;
    QLabel* commentsLabel = nullptr;
    QPlainTextEdit* commentsEdit = nullptr;

    static void scrollList(QListWidget* list, int firstSelected);
    // The type to store: the selected entry's ID, or the stored Type_ID when the record's
    // type is not in the list and none was chosen. Null when there is none to store.
    QVariant typeToStore() const;
    bool storedTypeListed() const;

    QVariant mStoredType;   // Type_ID as loaded ("Amend"); Null for "New"
    QList<int> mStoredGenres;  // the genres linked when loaded ("Amend")
};
