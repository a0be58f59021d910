#pragma once
// The Settings dialog: automatic refresh and the texts of the hot keys.

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Prompts;
class Settings;

class frmSettings : public QDialog {
    Q_OBJECT
public:
    // OK writes to settings (and its file); prompts tell a failed write.
    frmSettings(Settings& settings, Prompts& prompts, QWidget* parent = nullptr);

    QFrame* fraButtons = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QCheckBox* chkRefresh = nullptr;
    QGroupBox* frmHotKeys = nullptr;
    std::array<QLabel*, 5> lblHK{};
    std::array<QLabel*, 5> lblEq{};
    std::array<QLineEdit*, 5> txtHK{};

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Settings& mSettings;
    Prompts& mPrompts;
    void LoadSettings();

    int mRows = 0;                     // rows loaded: the hot keys shown
    std::array<QString, 5> mShownText; // each row's text as loaded, to tell an edit from none
};
