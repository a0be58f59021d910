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

class frmFind : public QDialog {
    Q_OBJECT
public:
    explicit frmFind(QWidget* parent = nullptr);

    QFrame* fraButtons = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QLabel* lblFind = nullptr;
    QLineEdit* txtFind = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkCell = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

    // What OK took: the text to find (empty after Cancel) and how to compare.
    const QString& findText() const { return mText; }
    bool matchCase() const { return mMatchCase; }
    bool wholeCell() const { return mWholeCell; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mLoaded = false;
    QString mText;
    bool mMatchCase = false;
    bool mWholeCell = false;
};
