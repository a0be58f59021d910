#pragma once
// The About box: the program's title, version, icon and its maker's web address.

#include <QDialog>

class QLabel;
class Links;
class QPushButton;
class QFrame;

inline const QString kMakerWebAddress = QStringLiteral("https://quillary.example.org/");

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // links opens the maker's web address. The settings file and database in use are
    // shown when given.
    explicit AboutDialog(Links& links, QWidget* parent = nullptr, const QString& settingsFile = QString(),
                      const QString& databaseFile = QString());

    static QString versionText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Controls; tests find them by their object names.
    QFrame* buttonBar = nullptr;
    QPushButton* okButton = nullptr;
    QLabel* iconLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* webLabel = nullptr;
    QLabel* settingsFileLabel = nullptr;
    QLabel* databaseFileLabel = nullptr;

    Links& mLinks;
};
