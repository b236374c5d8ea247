// Reads generated inputs of two sizes, N and 8N, and fails when the cost per
// input byte grows: more than 16 times the CPU time (twice linear, generous
// for a shared machine) or more heap per byte than the bound allows.
#include "rtf/rtf.h"
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <malloc.h>

namespace {

using Generator = std::function<QByteArray(int units)>;

struct StressCase
{
    const char *name;
    Generator generate;
};

QByteArray document(const QByteArray &header, const QByteArray &body)
{
    return "{\\rtf1\\ansi\\deff0" + header + "\n" + body + "}";
}

// A 1x1 PNG of its own colour, as hex: pictures that differ are each decoded and kept.
QByteArray tinyPng(int index)
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(QColor::fromRgba(0xff000000u | unsigned(index)));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png.toHex();
}

const StressCase cases[] = {
    {"plain paragraphs", [](int n) { return document("", QByteArray("Some words of text.\\par\n").repeated(n)); }},
    {"deep nesting", [](int n) { return document("", QByteArray("{").repeated(n * 8) + "x" + QByteArray("}").repeated(n * 8)); }},
    {"many fonts", [](int n) {
         QByteArray fonts = "{\\fonttbl", body;
         for (int i = 0; i < n; ++i) {
             fonts += "{\\f" + QByteArray::number(i) + "\\froman{\\*\\falt Alt" + QByteArray::number(i)
                      + "} Face" + QByteArray::number(i) + ";}";
             body += "\\f" + QByteArray::number(i) + " x";
         }
         return document(fonts + "}", body);
     }},
    {"many colours", [](int n) {
         QByteArray colors = "{\\colortbl;", body;
         for (int i = 1; i <= n; ++i) {
             colors += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i / 256 % 256)
                       + "\\blue7;";
             body += "\\cf" + QByteArray::number(i) + " x";
         }
         return document(colors + "}", body);
     }},
    {"long control-word runs", [](int n) { return document("", QByteArray("\\b\\i\\ul\\fs20\\b0\\i0\\ulnone\\fs24 ").repeated(n) + "x"); }},
    {"huge bin", [](int n) { return document("", "a{\\*\\blob\\bin" + QByteArray::number(n * 24) + " " + QByteArray(n * 24, '\x7b') + "}b"); }},
    {"many pictures", [](int n) {
         QByteArray body;
         for (int i = 0; i < std::max(1, n / 8); ++i)
             body += "{\\pict\\pngblip\\picw1\\pich1 " + tinyPng(i) + "}";
         return document("", body);
     }},
    {"many links and tab stops", [](int n) {
         return document("", QByteArray("\\pard\\tqr\\tldot\\tx720\\tx1440 {\\field{\\*\\fldinst HYPERLINK \"http://x/\"}{\\fldrslt a}}\\par\n").repeated(n));
     }},
    {"long tables", [](int n) {
         return document("", QByteArray("\\trowd\\cellx1000\\cellx2000 \\intbl a\\cell b\\cell\\row\n").repeated(n / 4));
     }},
    {"rows without intbl", [](int n) {
         return document("", QByteArray("\\trowd\\cellx1000\\cellx2000 a\\cell b\\cell\\row\n").repeated(n / 4));
     }},
    {"tables split by tabs", [](int n) {
         return document("", QByteArray("\\trowd\\cellx1000\\pard\\intbl a\\cell\\row\\pard\\tab\n").repeated(n / 4));
     }},
    {"long table in a cell", [](int n) {
         const QByteArray row = "\\pard\\intbl\\itap2 a\\nestcell b\\nestcell"
                                "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}{\\nonesttables\\par}\n";
         return document("", "\\trowd\\cellx5000\\pard\\intbl\\itap1 before\n" + row.repeated(n / 4)
                                 + "\\pard\\intbl\\itap1 after\\cell\\row\n");
     }},
};

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct Cost
{
    double seconds = 0;
    long long heapBytes = 0;
};

// The best of three reads, and the heap the read document holds.
Cost measure(const QByteArray &input)
{
    Cost best{1e9, 0};
    for (int round = 0; round < 3; ++round) {
        const auto before = static_cast<long long>(mallinfo2().uordblks);
        const double start = cpuSeconds();
        QTextDocument document;
        rtf::read(input, document);
        best.seconds = std::min(best.seconds, cpuSeconds() - start);
        best.heapBytes = std::max(best.heapBytes, static_cast<long long>(mallinfo2().uordblks) - before);
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    constexpr int Units = 2000;
    constexpr double MaxGrowth = 16;            // time(8N) / time(N)
    constexpr double MaxHeapPerByte = 400;       // heap held per input byte at 8N
    constexpr double TimeFloor = 0.002;          // below this N's time is noise
    int failures = 0;
    for (const StressCase &c : cases) {
        const QByteArray small = c.generate(Units), large = c.generate(Units * 8);
        const Cost a = measure(small), b = measure(large);
        const double growth = b.seconds / std::max(a.seconds, TimeFloor);
        const double heapPerByte = double(b.heapBytes) / double(large.size());
        const bool ok = growth <= MaxGrowth && heapPerByte <= MaxHeapPerByte;
        std::printf("%-26s %8lld -> %9lld bytes  %7.3f -> %7.3f s  growth %5.1fx  heap %6.1f B/byte  %s\n",
                    c.name, (long long)small.size(), (long long)large.size(), a.seconds, b.seconds, growth,
                    heapPerByte, ok ? "ok" : "TOO COSTLY");
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
