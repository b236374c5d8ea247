#pragma once
#include <QImage>
#include <QString>
#include <memory>

class QMimeData;

// The system clipboard, as the commands use it.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual QString GetText() const = 0;
    virtual void SetText(const QString &text) = 0;
    virtual void SetData(const QImage &picture) = 0;
    virtual void Clear() = 0;
    // A copy of every format the clipboard offers now, and putting such a copy back.
    virtual std::unique_ptr<QMimeData> snapshot() const = 0;
    virtual void restore(std::unique_ptr<QMimeData> content) = 0;
};

class SystemClipboard : public Clipboard
{
public:
    QString GetText() const override;
    void SetText(const QString &text) override;
    void SetData(const QImage &picture) override;
    void Clear() override;
    std::unique_ptr<QMimeData> snapshot() const override;
    void restore(std::unique_ptr<QMimeData> content) override;
};
