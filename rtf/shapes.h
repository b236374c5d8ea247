#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QImage>

namespace rtf {

// What a \shp group says about itself: its kind, its box on the page in twips and its
// {\sn name}{\sv value} properties; whether it holds text or a picture.
struct ShapeDescription
{
    int type = 0; // shapeType: 1 rectangle, 2 rounded rectangle, 3 ellipse, 20 line, 75 picture...
    int left = 0, top = 0, right = 0, bottom = 0; // \shpleft..., twips
    QHash<QByteArray, QByteArray> properties;
    bool hasText = false;    // \shptxt
    bool hasPicture = false; // \pict anywhere in it
    int number(const QByteArray &name, int otherwise) const;
};

ShapeDescription describeShape(QByteArrayView group);

// A shape Velmo draws itself: a rectangle, rounded rectangle, ellipse or line without text or picture.
bool isDrawnShape(const ShapeDescription &shape);

// The shape drawn at its size (96 pixels an inch), with its fill and line.
QImage drawShape(const ShapeDescription &shape);

} // namespace rtf
