#pragma once
// Checks of a window laid out by its layouts, at whatever font the test has set.

#include <QFont>

class QWidget;

// Every visible caption (labels, buttons, check and option boxes) shows its whole text, every
// visible control lies inside the window, and no two visible controls of one parent overlap.
void expectLaidOutWhole(QWidget* window);

// While it lives the application font is larger by the given factor, as on a screen with a
// large font or a high DPI; widgets made meanwhile use it.
class LargeFont {
public:
    explicit LargeFont(double factor = 1.75);
    ~LargeFont();
    LargeFont(const LargeFont&) = delete;
    LargeFont& operator=(const LargeFont&) = delete;

private:
    QFont mOld;
};
