#include "support/TestEnv.h"

Prompts::Answer FakePrompts::message(QWidget*, const QString& text, Buttons buttons, Icon icon,
                                     Answer defaultButton)
{
    shown.push_back({text, buttons, icon, defaultButton});
    if (onMessage)
        onMessage(text);
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return Answer::Yes;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakePrompts::input(QWidget*, const QString& prompt, const QString& title, const QString&)
{
    asked.push_back({prompt, title});
    if (inputs.empty())
        return QString();
    QString value = inputs.front();
    inputs.pop_front();
    return value;
}

QString FakePrompts::saveFileName(QWidget*, const QString&, const QString& suggested, const QString&)
{
    suggestedSaves << suggested;
    if (saveNames.empty())
        return QString();
    QString name = saveNames.front();
    saveNames.pop_front();
    return name;
}

QStringList FakePrompts::texts() const
{
    QStringList list;
    for (const Shown& s : shown)
        list << s.text;
    return list;
}

