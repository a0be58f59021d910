#include "gui/SettingsDialog.h"

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
#include "gui/Prompts.h"
#include "core/HotKeyText.h"
#include "gui/PictureButton.h"

SettingsDialog::SettingsDialog(Settings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), mSettings(settings), mPrompts(prompts)
{
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(tr("Settings"));

    // As large as the captions and texts need; rows of hot keys not in use take no room.
    const DialogFrame frame = makeDialogFrame(this, true);
    QVBoxLayout* column = frame.column;
    buttonBar = frame.bar.frame;
    okButton = frame.bar.ok;
    cancelButton = frame.bar.cancel;

    auto* body = new QVBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    body->setContentsMargins(margin, margin, margin, margin);
    body->setSpacing(margin);
    column->addLayout(body);

    autoRefreshCheck = new QCheckBox(tr("&Refresh Display after New/Amend/Delete"), this);
    autoRefreshCheck->setObjectName(QStringLiteral("autoRefreshCheck"));
    auto* refreshRow = new QHBoxLayout;
    refreshRow->addSpacing(margin);
    refreshRow->addWidget(autoRefreshCheck, 0, Qt::AlignLeft);
    body->addLayout(refreshRow);

    hotKeysGroup = new QGroupBox(tr("Hot Keys"), this);
    hotKeysGroup->setObjectName(QStringLiteral("hotKeysGroup"));
    body->addWidget(hotKeysGroup);
    // Caption, "=" and the text on each row; the caption column is as wide as the widest caption.
    auto* rows = new QGridLayout(hotKeysGroup);
    rows->setColumnStretch(2, 1);

    for (int i = 0; i < 5; ++i) {
        hotKeyLabels[i] = new QLabel(hotKeysGroup);
        hotKeyLabels[i]->setObjectName(QStringLiteral("hotKeyLabel%1").arg(i));
        hotKeyLabels[i]->hide();

        equalsLabels[i] = new QLabel(QStringLiteral("="), hotKeysGroup);
        equalsLabels[i]->setObjectName(QStringLiteral("equalsLabel%1").arg(i));
        equalsLabels[i]->hide();

        hotKeyEdits[i] = new QLineEdit(hotKeysGroup);
        hotKeyEdits[i]->setObjectName(QStringLiteral("hotKeyEdit%1").arg(i));
        hotKeyEdits[i]->setMinimumWidth(36 * hotKeyEdits[i]->fontMetrics().averageCharWidth());
        hotKeyEdits[i]->hide();
        hotKeyEdits[i]->installEventFilter(this);
        hotKeyLabels[i]->setBuddy(hotKeyEdits[i]);

        rows->addWidget(hotKeyLabels[i], i, 0);
        rows->addWidget(equalsLabels[i], i, 1);
        rows->addWidget(hotKeyEdits[i], i, 2);
    }

    setTabOrder(autoRefreshCheck, hotKeyEdits[0]);
    for (int i = 1; i < 5; ++i)
        setTabOrder(hotKeyEdits[i - 1], hotKeyEdits[i]);
    setTabOrder(hotKeyEdits[4], okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, &SettingsDialog::onOkClicked);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::onCancelClicked);

    loadSettings();
    autoRefreshCheck->setFocus(Qt::OtherFocusReason);
}

// Each showing is a new dialog, so it always shows the values in force.
void SettingsDialog::loadSettings()
{
    autoRefreshCheck->setChecked(mSettings.autoRefresh());

    const QVector<HotKeyEntry>& hotKeys = mSettings.hotKeys();
    mRows = int(std::min<qsizetype>(hotKeys.size(), 5));
    for (int i = 0; i < mRows; ++i) {
        const QString& caption = hotKeys[i].caption;
        // '&' in a caption is shown as written, not taken as an access key.
        QString labelText = caption;
        labelText.replace(QLatin1Char('&'), QStringLiteral("&&"));
        hotKeyLabels[i]->setText(labelText);
        hotKeyEdits[i]->setAccessibleName(caption);

        mShownText[i] = keysToText(hotKeys[i].text);
        hotKeyEdits[i]->setText(mShownText[i]);

        hotKeyLabels[i]->show();
        equalsLabels[i]->show();
        hotKeyEdits[i]->show();
    }
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (QLineEdit* text : hotKeyEdits) {
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

void SettingsDialog::onOkClicked()
{
    mSettings.setAutoRefresh(autoRefreshCheck->isChecked());

    QVector<profile::Setting> settings{{QStringLiteral("Initialisation"), QStringLiteral("Auto-Refresh"),
                                        mSettings.autoRefresh() ? QStringLiteral("Yes") : QStringLiteral("No")}};
    QVector<HotKeyEntry> hotKeys = mSettings.hotKeys();
    for (int i = 0; i < mRows; ++i) {
        // A text left as shown keeps its stored form: braces that name keys or quote
        // characters other than parentheses are not visible here and would be lost.
        if (hotKeyEdits[i]->text() != mShownText[i])
            hotKeys[i].text = textToKeys(hotKeyEdits[i]->text());
        settings.push_back({QStringLiteral("Hot-Keys"), QString::number(i + 1),
                            composeHotKeyEntry(hotKeys[i].caption, hotKeys[i].code, hotKeys[i].text,
                                               mSettings.spaceChar())});
    }
    mSettings.setHotKeys(hotKeys);

    // One rewrite, so a failure leaves none of the keys half-written. The new values stay
    // in force for this run even when the file cannot be written; the failure is reported.
    QString error;
    if (!mSettings.write(settings, &error)) {
        mPrompts.message(this, tr("The settings file %1 could not be written: %2").arg(mSettings.file(), error),
                         Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
    accept();
}

void SettingsDialog::onCancelClicked()
{
    reject();
}
