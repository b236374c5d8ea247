#pragma once
#include <QImage>
#include <QLabel>

// A borderless box showing one picture, kept at its original pixels.
class PictureBox : public QLabel
{
public:
    PictureBox(const QString &name, const QImage &picture, QWidget *parent)
        : QLabel(parent), Picture(picture)
    {
        setObjectName(name);
        setPixmap(QPixmap::fromImage(picture));
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    const QImage Picture;
};
