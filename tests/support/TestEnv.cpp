#include "support/TestEnv.h"

namespace {

QString takeFirst(std::deque<QString>& queue)
{
    if (queue.empty())
        return QString();
    QString first = queue.front();
    queue.pop_front();
    return first;
}

} // namespace

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
    return takeFirst(inputs);
}

QString FakePrompts::saveFileName(QWidget*, const QString&, const QString&, const QString&)
{
    return takeFirst(saveNames);
}

QStringList FakePrompts::texts() const
{
    QStringList list;
    for (const Shown& s : shown)
        list << s.text;
    return list;
}

MainWindow& WindowTest::startWindow()
{
    session().closeDatabase();
    window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
    EXPECT_TRUE(window->load());
    return *window;
}

QStringList WindowTest::column(int c) const
{
    QStringList cells;
    for (int r = 0; r < model().rowCount(); ++r)
        cells << model().cellText(r, c);
    return cells;
}
