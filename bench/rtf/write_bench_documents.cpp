// rtf_bench_documents DIR: writes pages-10.rtf ... pages-1000.rtf and large.rtf.
#include "bench_documents.h"
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    for (const auto &[name, pages] : {std::pair{"pages-10.rtf", 10}, std::pair{"pages-100.rtf", 100},
                                      std::pair{"pages-1000.rtf", 1000}, std::pair{"large.rtf", 2700}}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(rtfbench::generateDocument(pages)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", name);
            return 1;
        }
        std::printf("%s %lld bytes\n", name, static_cast<long long>(file.size()));
    }
    return 0;
}
