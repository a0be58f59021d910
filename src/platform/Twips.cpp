#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

int logicalDpiY(const QWidget* widget)
{
    if (widget)
        return widget->logicalDpiY();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return qRound(screen->logicalDotsPerInchY());
    return 96;
}

int twipsToPixels(int twips, const QWidget* widget)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * logicalDpiY(widget) / 1440.0));
}

int pixelsToTwips(int pixels, const QWidget* widget)
{
    return static_cast<int>(std::lround(static_cast<double>(pixels) * 1440.0 / logicalDpiY(widget)));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget* widget)
{
    return QRect(twipsToPixels(left, widget), twipsToPixels(top, widget), twipsToPixels(width, widget),
                 twipsToPixels(height, widget));
}
