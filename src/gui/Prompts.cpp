#include "gui/Prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "gui/StatusMessage.h"

Prompts::Answer MessageBoxPrompts::message(QWidget* parent, const QString& text, Buttons buttons, Icon icon,
                                           Answer defaultButton)
{
    QMessageBox box(parent);
    box.setWindowTitle(kProgramTitle);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == Buttons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return Answer::Ok;
    }
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Prompts::Answer MessageBoxPrompts::choose(QWidget* parent, const QString& text, const QString& yes,
                                          const QString& no)
{
    QMessageBox box(parent);
    box.setWindowTitle(kProgramTitle);
    box.setText(text);
    box.setIcon(QMessageBox::Question);
    QPushButton* first = box.addButton(yes, QMessageBox::YesRole);
    QPushButton* second = box.addButton(no, QMessageBox::NoRole);
    box.setDefaultButton(second);
    box.setEscapeButton(second);
    box.exec();
    return box.clickedButton() == first ? Answer::Yes : Answer::No;
}

QString MessageBoxPrompts::input(QWidget* parent, const QString& prompt, const QString& title,
                                 const QString& defaultValue)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultValue, &ok);
    return ok ? text : QString();
}

QString MessageBoxPrompts::saveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                       const QString& filters)
{
    return QFileDialog::getSaveFileName(parent, title, suggested, filters);
}

QString MessageBoxPrompts::openFileName(QWidget* parent, const QString& title, const QString& filters)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), filters);
}

bool SystemLinks::open(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}
