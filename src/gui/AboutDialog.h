#pragma once
// The About box: the program's title, version, icon and licence, its web address when the
// build was given one, and the files in use.

#include <QDialog>

#include "core/Version.h"

class QLabel;
class Links;
class QPushButton;
class QFrame;

// The address the build was given; empty when it was given none.
inline const QString kHomepageUrl = QStringLiteral(QUILLARY_HOMEPAGE_URL);

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    // links opens the web address, shown only when there is one. The settings file and
    // database in use are shown when given.
    explicit AboutDialog(Links& links, QWidget* parent = nullptr, const QString& settingsFile = QString(),
                         const QString& databaseFile = QString(), const QString& webAddress = kHomepageUrl);

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
    QLabel* licenceLabel = nullptr;
    QLabel* webLabel = nullptr;  // none without an address
    QLabel* settingsFileLabel = nullptr;
    QLabel* databaseFileLabel = nullptr;

    Links& mLinks;
    QString mWebAddress;
};
