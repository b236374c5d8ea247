#include "editor/clipboard.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

static QClipboard *system() { return QGuiApplication::clipboard(); }

QString SystemClipboard::GetText() const { return system()->text(); }
void SystemClipboard::SetText(const QString &text) { system()->setText(text); }
void SystemClipboard::SetData(const QImage &picture) { system()->setImage(picture); }
void SystemClipboard::Clear() { system()->clear(); }

std::unique_ptr<QMimeData> SystemClipboard::snapshot() const
{
    auto copy = std::make_unique<QMimeData>();
    if (const QMimeData *now = system()->mimeData()) {
        for (const QString &format : now->formats())
            copy->setData(format, now->data(format));
        if (now->hasImage())
            copy->setImageData(now->imageData());
    }
    return copy;
}

void SystemClipboard::restore(std::unique_ptr<QMimeData> content)
{
    system()->setMimeData(content.release());
}
