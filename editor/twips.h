#pragma once
#include <QRect>

class QWidget;

// Layout is specified in twips (1440 per inch); this is the one place they become pixels,
// following the screen's logical DPI so the layout keeps its proportions at any scale.
namespace twips {

inline constexpr double PerInch = 1440.0;

int toPixelsX(double twips, const QWidget *widget);
int toPixelsY(double twips, const QWidget *widget);
double fromPixelsX(int pixels, const QWidget *widget);
double fromPixelsY(int pixels, const QWidget *widget);
QRect toPixels(int left, int top, int width, int height, const QWidget *widget);

} // namespace twips
