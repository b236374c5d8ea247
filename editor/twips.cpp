#include "editor/twips.h"
#include <QWidget>
#include <cmath>

namespace twips {

static double dpiX(const QWidget *w) { return w ? w->logicalDpiX() : 96.0; }
static double dpiY(const QWidget *w) { return w ? w->logicalDpiY() : 96.0; }

int toPixelsX(double t, const QWidget *w) { return int(std::lround(t * dpiX(w) / PerInch)); }
int toPixelsY(double t, const QWidget *w) { return int(std::lround(t * dpiY(w) / PerInch)); }
double fromPixelsX(int p, const QWidget *w) { return p * PerInch / dpiX(w); }
double fromPixelsY(int p, const QWidget *w) { return p * PerInch / dpiY(w); }

QRect toPixels(int left, int top, int width, int height, const QWidget *w)
{
    return {toPixelsX(left, w), toPixelsY(top, w), toPixelsX(width, w), toPixelsY(height, w)};
}

} // namespace twips
