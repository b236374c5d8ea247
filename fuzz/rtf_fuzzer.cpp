// Reads arbitrary bytes as RTF, then writes and reads the result again.
#include "rtf/rtf.h"
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv); // pictures need a GUI application
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QTextDocument document;
    if (!rtf::read(bytes, document))
        return 0;
    QTextDocument again;
    if (!rtf::read(rtf::write(document), again))
        std::abort(); // what the writer writes, the reader must read
    return 0;
}
