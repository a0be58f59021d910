#pragma once
// The About box: the program's title, version, icon and its maker's web address.

#include <QDialog>

class QLabel;
class Links;
class QPushButton;
class QFrame;

inline const QString kMakerWebAddress = QStringLiteral("https://quillary.example.org/");

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // links opens the maker's web address.
    explicit frmAbout(Links& links, QWidget* parent = nullptr);

    static QString versionText();

    QFrame* fraButtons = nullptr;
    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblWeb = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Links& mLinks;
};
