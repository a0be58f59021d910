#include "hotkeys/frmSettings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>

#include "core/Settings.h"
#include "platform/Services.h"
#include "core/HotKeyText.h"
#include "platform/PictureButton.h"

frmSettings::frmSettings(Settings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), mSettings(settings), mPrompts(prompts)
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Settings"));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    // As large as the captions and texts need; rows of hot keys not in use take no room.
    column->setSizeConstraint(QLayout::SetFixedSize);
    const DialogButtonBar bar = makeDialogButtonBar(this, true);
    fraButtons = bar.frame;
    cmdOK = bar.ok;
    cmdCancel = bar.cancel;
    column->addWidget(fraButtons);

    auto* body = new QVBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    body->setContentsMargins(margin, margin, margin, margin);
    body->setSpacing(margin);
    column->addLayout(body);

    chkRefresh = new QCheckBox(QStringLiteral("&Refresh Display after New/Amend/Delete"), this);
    chkRefresh->setObjectName(QStringLiteral("chkRefresh"));
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addSpacing(margin);
    refreshRow->addWidget(chkRefresh, 0, Qt::AlignLeft);
    body->addLayout(refreshRow);

    frmHotKeys = new QGroupBox(QStringLiteral("Hot Keys"), this);
    frmHotKeys->setObjectName(QStringLiteral("frmHotKeys"));
    body->addWidget(frmHotKeys);
    // Caption, "=" and the text on each row; the caption column is as wide as the widest caption.
    auto* rows = new QGridLayout(frmHotKeys);
    rows->setColumnStretch(2, 1);

    for (int i = 0; i < 5; ++i) {
        lblHK[i] = new QLabel(frmHotKeys);
        lblHK[i]->setObjectName(QStringLiteral("lblHK%1").arg(i));
        lblHK[i]->hide();

        lblEq[i] = new QLabel(QStringLiteral("="), frmHotKeys);
        lblEq[i]->setObjectName(QStringLiteral("lblEq%1").arg(i));
        lblEq[i]->hide();

        txtHK[i] = new QLineEdit(frmHotKeys);
        txtHK[i]->setObjectName(QStringLiteral("txtHK%1").arg(i));
        txtHK[i]->setMinimumWidth(36 * txtHK[i]->fontMetrics().averageCharWidth());
        txtHK[i]->hide();
        txtHK[i]->installEventFilter(this);
        lblHK[i]->setBuddy(txtHK[i]);

        rows->addWidget(lblHK[i], i, 0);
        rows->addWidget(lblEq[i], i, 1);
        rows->addWidget(txtHK[i], i, 2);
    }

    setTabOrder(chkRefresh, txtHK[0]);
    for (int i = 1; i < 5; ++i)
        setTabOrder(txtHK[i - 1], txtHK[i]);
    setTabOrder(txtHK[4], cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    connect(cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSettings::cmdCancel_Click);

    LoadSettings();
    chkRefresh->setFocus(Qt::OtherFocusReason);
}

// Each showing is a new dialog, so it always shows the values in force.
void frmSettings::LoadSettings()
{
    chkRefresh->setChecked(mSettings.autoRefresh());

    const QVector<HotKeyEntry>& hotKeys = mSettings.hotKeys();
    mRows = int(std::min<qsizetype>(hotKeys.size(), 5));
    for (int i = 0; i < mRows; ++i) {
        const QString& caption = hotKeys[i].caption;
        // '&' in a caption is shown as written, not taken as an access key.
        QString labelText = caption;
        labelText.replace(QLatin1Char('&'), QStringLiteral("&&"));
        lblHK[i]->setText(labelText);
        txtHK[i]->setAccessibleName(caption);

        mShownText[i] = KeysToText(hotKeys[i].text);
        txtHK[i]->setText(mShownText[i]);

        lblHK[i]->show();
        lblEq[i]->show();
        txtHK[i]->show();
    }
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (QLineEdit* text : txtHK) {
            if (watched != text)
                continue;
            // Selected after the line edit's own focus and mouse handling, which would
            // otherwise place the caret where it was clicked; typing then replaces the text.
            QTimer::singleShot(0, text, [text] {
                if (text->hasFocus())
                    text->selectAll();
            });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSettings::cmdOK_Click()
{
    mSettings.setAutoRefresh(chkRefresh->isChecked());

    QVector<profile::Setting> settings{{QStringLiteral("Initialisation"), QStringLiteral("Auto-Refresh"),
                                        mSettings.autoRefresh() ? QStringLiteral("Yes") : QStringLiteral("No")}};
    QVector<HotKeyEntry> hotKeys = mSettings.hotKeys();
    for (int i = 0; i < mRows; ++i) {
        // A text left as shown keeps its stored form: braces that name keys or quote
        // characters other than parentheses are not visible here and would be lost.
        if (txtHK[i]->text() != mShownText[i])
            hotKeys[i].text = TextToKeys(txtHK[i]->text());
        settings.push_back({QStringLiteral("Hot-Keys"), QString::number(i + 1),
                            ComposeHotKeyEntry(hotKeys[i].caption, hotKeys[i].code, hotKeys[i].text,
                                               mSettings.spaceChar())});
    }
    mSettings.setHotKeys(hotKeys);

    // One rewrite, so a failure leaves none of the keys half-written. The new values stay
    // in force for this run even when the file cannot be written; the failure is reported.
    QString error;
    if (!mSettings.write(settings, &error)) {
        mPrompts.message(this, QStringLiteral("The settings file %1 could not be written: %2").arg(mSettings.file(), error),
                         Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    accept();
}

void frmSettings::cmdCancel_Click()
{
    reject();
}
