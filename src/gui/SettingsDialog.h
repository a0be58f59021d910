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

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // OK writes to settings (and its file); prompts tell a failed write.
    SettingsDialog(Settings& settings, Prompts& prompts, QWidget* parent = nullptr);

    void onOkClicked();
    void onCancelClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls; tests find them by their object names.
    QFrame* buttonBar = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QCheckBox* autoRefreshCheck = nullptr;
    QGroupBox* hotKeysGroup = nullptr;
    std::array<QLabel*, 5> hotKeyLabels{};
    std::array<QLabel*, 5> equalsLabels{};
    std::array<QLineEdit*, 5> hotKeyEdits{};

    Settings& mSettings;
    Prompts& mPrompts;
    void loadSettings();

    int mRows = 0;                     // rows loaded: the hot keys shown
    std::array<QString, 5> mShownText; // each row's text as loaded, to tell an edit from none
};
