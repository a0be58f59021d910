#pragma once
// The Find dialog. One instance lives with the main window and is hidden between uses,
// so it keeps its text and options.

#include <QDialog>
#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget* parent = nullptr);


    void onOkClicked();
    void onCancelClicked();

    // What OK took: the text to find (empty after Cancel) and how to compare.
    const QString& findText() const { return mText; }
    bool matchCase() const { return mMatchCase; }
    bool wholeCell() const { return mWholeCell; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls; tests find them by their object names.
    QFrame* buttonBar = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QLabel* findLabel = nullptr;
    QLineEdit* findEdit = nullptr;
    QCheckBox* matchCaseCheck = nullptr;
    QCheckBox* wholeCellCheck = nullptr;

    bool mLoaded = false;
    QString mText;
    bool mMatchCase = false;
    bool mWholeCell = false;
};
