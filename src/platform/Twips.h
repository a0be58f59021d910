#pragma once
// Sizes in the program's layout are given in twips (1/1440 inch).

#include <QRect>

class QWidget;

int logicalDpiY(const QWidget* widget = nullptr);
int twipsToPixels(int twips, const QWidget* widget = nullptr);
int pixelsToTwips(int pixels, const QWidget* widget = nullptr);
QRect twipsRect(int left, int top, int width, int height, const QWidget* widget = nullptr);
