#pragma once
#include <QByteArray>
#include <QFont>
#include <QString>
#include <memory>

class QTextDocument;

// Builds a document from a file's bytes on a thread of its own, so the window keeps drawing and
// can offer a Cancel. The finished document lives in the thread that started the read.
class BackgroundRead
{
public:
    BackgroundRead(QByteArray bytes, const QString &path, const QFont &defaultFont);
    ~BackgroundRead(); // an unfinished read is abandoned: it ends on its own and deletes its result
    BackgroundRead(const BackgroundRead &) = delete;
    BackgroundRead &operator=(const BackgroundRead &) = delete;

    bool finished() const;
    // The document once finished; throws FileError when the bytes could not be read.
    std::unique_ptr<QTextDocument> take();

    struct State;

private:
    std::shared_ptr<State> state_;
    QString path_;
};

// RTF when the bytes start with "{\rtf", else plain text; throws FileError naming `path`.
std::unique_ptr<QTextDocument> documentFromBytes(const QByteArray &bytes, const QString &path,
                                                 const QFont &defaultFont);
