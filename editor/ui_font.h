#pragma once
#include <QFont>
#include <QStringList>

// The dialogs' font of the classic desktop, or the nearest sans serif of the same metrics.
inline QFont uiFont(double points, bool bold = false)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
