// census_corpus FOLDER: how often each part of the RTF files in FOLDER survives
// a save by Velmo (velmo-rtf to-rtf) beside how often it survives LibreOffice's
// own RTF round trip, both as LibreOffice reads them back.
#include "document_census.h"
#include "office_conversion.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <array>
#include <cstdio>

using census::DocumentCensus;
using census::PartCount;

namespace {

struct Tally {
    std::array<int, PartCount> present{};
    std::array<int, PartCount> keptByVelmo{};
    std::array<int, PartCount> keptByOffice{};
    int files = 0;
    int velmoFailed = 0;
    int officeFailed = 0;
};

void print(const char *format, const QString &a = {}, const QString &b = {})
{
    std::printf(format, qPrintable(a), qPrintable(b));
}

bool velmoSave(const QString &program, const QString &in, const QString &out, QString *why)
{
    QProcess process;
    process.start(program, {QStringLiteral("to-rtf"), in, out});
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        *why = QStringLiteral("velmo-rtf did not finish");
        return false;
    }
    *why = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0 && QFileInfo::exists(out);
}

std::optional<DocumentCensus> censusOf(const QString &fodt)
{
    return fodt.isEmpty() ? std::nullopt : census::readCensusFile(fodt);
}

// Adds one file's verdicts; returns the parts either copy lost, for the detail lines.
QString count(Tally &tally, const DocumentCensus &original, const std::optional<DocumentCensus> &velmo,
              const std::optional<DocumentCensus> &office)
{
    const QList<census::PartVerdict> byVelmo = velmo ? census::compare(original, *velmo) : QList<census::PartVerdict>{};
    const QList<census::PartVerdict> byOffice =
        office ? census::compare(original, *office) : QList<census::PartVerdict>{};
    const QList<census::PartVerdict> itself = census::compare(original, original);
    QStringList lost;
    for (int part = 0; part < PartCount; ++part) {
        if (!itself.at(part).present)
            continue;
        ++tally.present[part];
        const bool keptByVelmo = velmo && byVelmo.at(part).kept;
        const bool keptByOffice = office && byOffice.at(part).kept;
        tally.keptByVelmo[part] += keptByVelmo;
        tally.keptByOffice[part] += keptByOffice;
        if (velmo && !keptByVelmo)
            lost << QStringLiteral("  Velmo lost ") + byVelmo.at(part).detail;
        if (office && !keptByOffice)
            lost << QStringLiteral("  LibreOffice lost ") + byOffice.at(part).detail;
    }
    return lost.join(u'\n');
}

void report(const Tally &tally)
{
    std::printf("files: %d; velmo-rtf failed on %d; LibreOffice's round trip failed on %d\n", tally.files,
                tally.velmoFailed, tally.officeFailed);
    std::printf("%-18s %6s %7s %12s %7s\n", "part", "files", "Velmo", "LibreOffice", "ratio");
    for (int part = 0; part < PartCount; ++part) {
        const int velmo = tally.keptByVelmo[part];
        const int office = tally.keptByOffice[part];
        const QString ratio = office > 0 ? QString::number(double(velmo) / office, 'f', 2) : QStringLiteral("-");
        std::printf("%-18s %6d %7d %12d %7s%s\n", qPrintable(census::partName(census::Part(part))),
                    tally.present[part], velmo, office, qPrintable(ratio),
                    office > 0 && double(velmo) / office < 0.95 ? "  short" : "");
    }
}

// Every part of one census, for looking into a single file.
void dump(const DocumentCensus &found)
{
    const DocumentCensus none;
    for (const census::PartVerdict &verdict : census::compare(found, none))
        print("%s\n", verdict.detail.section(QStringLiteral("; copy"), 0, 0));
    print("%s\n", QStringLiteral("paragraphs: ") + found.paragraphs.join(QStringLiteral(" | ")));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Counts the parts of each RTF file that survive velmo-rtf to-rtf and LibreOffice's own round trip."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("velmo-rtf"), QStringLiteral("The converter to judge."), QStringLiteral("path"),
                      QStringLiteral(VELMO_RTF_PROGRAM)});
    parser.addOption({QStringLiteral("work"), QStringLiteral("Keep the converted files in this folder."),
                      QStringLiteral("folder")});
    parser.addOption({QStringLiteral("details"), QStringLiteral("List the parts each file lost in either copy.")});
    parser.addOption({QStringLiteral("census"), QStringLiteral("Only print the census of one flat ODF text file.")});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("A folder of RTF files."));
    parser.process(app);
    if (parser.isSet(QStringLiteral("census")) && parser.positionalArguments().size() == 1) {
        QString error;
        const auto found = census::readCensusFile(parser.positionalArguments().first(), &error);
        if (found)
            dump(*found);
        else
            print("census_corpus: %s\n", error);
        return found ? 0 : 1;
    }
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    OfficeConversion office;
    if (office.program().isEmpty()) {
        std::fputs("census_corpus: soffice is not installed\n", stderr);
        return 2;
    }
    QTemporaryDir temporary;
    const QDir work(parser.isSet(QStringLiteral("work")) ? parser.value(QStringLiteral("work")) : temporary.path());
    work.mkpath(QStringLiteral("office"));
    const QStringList inputs = rtfFilesIn(parser.positionalArguments().first());
    QElapsedTimer clock;
    clock.start();

    // Each input is copied under a number, so files of the same name in different folders stay apart.
    QStringList originals, velmo, forFlat, problems;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const QString stem = QStringLiteral("f%1").arg(i, 4, 10, QLatin1Char('0'));
        originals << work.filePath(stem + QStringLiteral(".original.rtf"));
        velmo << work.filePath(stem + QStringLiteral(".velmo.rtf"));
        QFile::remove(originals.last());
        QFile::copy(inputs.at(i), originals.last());
        QString why;
        if (!velmoSave(parser.value(QStringLiteral("velmo-rtf")), originals.last(), velmo.last(), &why)) {
            problems << QStringLiteral("%1: velmo-rtf failed: %2").arg(inputs.at(i), why);
            velmo.last().clear();
        }
    }
    const qint64 velmoMs = clock.restart();
    QStringList officeCopies = office.convert(originals, QStringLiteral("rtf:Rich Text Format"),
                                              QStringLiteral("rtf"), work.filePath(QStringLiteral("office")));
    // Renamed, since LibreOffice names its copy as the original.
    for (QString &copy : officeCopies) {
        const QString renamed = work.filePath(QFileInfo(copy).fileName().replace(QStringLiteral(".original."), QStringLiteral(".office.")));
        QFile::remove(renamed);
        if (!copy.isEmpty())
            copy = QFile::rename(copy, renamed) ? renamed : QString();
    }
    forFlat << originals << officeCopies;
    for (const QString &file : velmo)
        if (!file.isEmpty())
            forFlat << file;
    const QStringList flat = office.convert(forFlat, QStringLiteral("fodt"), QStringLiteral("fodt"),
                                            work.filePath(QStringLiteral("flat")));
    const qint64 officeMs = clock.elapsed();

    Tally tally;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        const auto original = censusOf(flat.at(i));
        if (!original) {
            problems << inputs.at(i) + QStringLiteral(": LibreOffice cannot read the original");
            continue;
        }
        ++tally.files;
        const auto byOffice = censusOf(flat.at(inputs.size() + i));
        const qsizetype velmoAt = forFlat.indexOf(velmo.at(i));
        const auto byVelmo = velmo.at(i).isEmpty() || velmoAt < 0 ? std::nullopt : censusOf(flat.at(velmoAt));
        tally.velmoFailed += !byVelmo;
        tally.officeFailed += !byOffice;
        const QString lost = count(tally, *original, byVelmo, byOffice);
        if (parser.isSet(QStringLiteral("details")) && !lost.isEmpty())
            print("%s\n%s\n", inputs.at(i), lost);
    }
    report(tally);
    for (const QString &problem : std::as_const(problems))
        print("%s\n", problem);
    std::printf("time: velmo-rtf %.1f s, LibreOffice %.1f s\n", velmoMs / 1000.0, officeMs / 1000.0);
    return problems.isEmpty() ? 0 : 1;
}
