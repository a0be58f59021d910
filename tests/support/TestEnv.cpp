#include "support/TestEnv.h"

#include "gui/GridView.h"
#include "gui/ListingModel.h"
#include "gui/MainWindow.h"
#include "gui/StatusPanel.h"

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


WindowTest::~WindowTest() = default;

void WindowTest::TearDown()
{
    window.reset();
    QuillaryTest::TearDown();
}

MainWindow& WindowTest::startWindow()
{
    session().closeDatabase();
    window = std::make_unique<MainWindow>(desktop(), clock, mDir.path());
    EXPECT_TRUE(window->load());
    return *window;
}

GridView& WindowTest::grid() const
{
    return *child<GridView>(window, QStringLiteral("grid"));
}

ListingModel& WindowTest::model() const
{
    return *grid().listingModel();
}

QString WindowTest::caption() const
{
    return child<StatusPanel>(window, QStringLiteral("statusPanel"))->caption();
}

QStringList WindowTest::column(int c) const
{
    QStringList cells;
    for (int r = 0; r < model().rowCount(); ++r)
        cells << model().cellText(r, c);
    return cells;
}
