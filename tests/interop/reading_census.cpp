// reading_census FOLDER: how Velmo shows the body of each RTF file in FOLDER
// beside how LibreOffice shows it, paragraph by paragraph: lists, indents,
// spacing, alignment and pictures.
#include "office_conversion.h"
#include "reading_comparison.h"
#include "rtf/rtf.h"
#include "velmo_shown_document.h"
#include <QCommandLineParser>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <cstdio>

using census::Criterion;
using census::ReadingTally;

namespace {

constexpr int DetailsPerCriterion = 3;

std::optional<census::ShownDocument> velmoReading(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return std::nullopt;
    }
    QTextDocument document;
    if (!rtf::read(file.readAll(), document, why))
        return std::nullopt;
    return census::shownDocument(document);
}

std::optional<census::ShownDocument> officeReading(const QString &fodt, QString *why)
{
    QFile file(fodt);
    if (fodt.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("LibreOffice could not convert it");
        return std::nullopt;
    }
    return census::readShownDocument(file.readAll(), why);
}

void add(ReadingTally &total, const ReadingTally &file)
{
    for (int at = 0; at < census::CriterionCount; ++at) {
        total.compared[at] += file.compared[at];
        total.agreeing[at] += file.agreeing[at];
    }
}

void printDetails(const QString &input, const ReadingTally &file)
{
    bool named = false;
    for (int at = 0; at < census::CriterionCount; ++at) {
        const QStringList &lines = file.disagreements[at];
        if (lines.isEmpty())
            continue;
        if (!named)
            std::printf("%s\n", qPrintable(input));
        named = true;
        std::printf("  %s: %lld disagree\n", qPrintable(census::criterionName(Criterion(at))),
                    static_cast<long long>(lines.size()));
        for (qsizetype i = 0; i < lines.size() && i < DetailsPerCriterion; ++i)
            std::printf("    %s\n", qPrintable(lines.at(i)));
    }
}

void show(const QString &input, const census::ShownDocument &office, const census::ShownDocument &velmo)
{
    std::printf("%s\n", qPrintable(input));
    for (const auto &[side, shown] : {std::pair{"LibreOffice", &office}, std::pair{"Velmo", &velmo}}) {
        std::printf("  %s: %d pictures\n", side, shown->pictures);
        for (const census::ShownParagraph &paragraph : shown->paragraphs)
            std::printf("    %s\n", qPrintable(census::describe(paragraph)));
    }
}

void report(const ReadingTally &total)
{
    std::printf("%-20s %9s %9s %7s\n", "criterion", "compared", "agreeing", "ratio");
    for (int at = 0; at < census::CriterionCount; ++at) {
        const int compared = total.compared[at];
        const QString ratio =
            compared > 0 ? QString::number(double(total.agreeing[at]) / compared, 'f', 3) : QStringLiteral("-");
        std::printf("%-20s %9d %9d %7s\n", qPrintable(census::criterionName(Criterion(at))), compared,
                    total.agreeing[at], qPrintable(ratio));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Compares how Velmo and LibreOffice show the body paragraphs of each RTF file."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("work"), QStringLiteral("Keep the converted files in this folder."),
                      QStringLiteral("folder")});
    parser.addOption({QStringLiteral("details"), QStringLiteral("List each file's first disagreements.")});
    parser.addOption({QStringLiteral("show"), QStringLiteral("List every paragraph as each reader shows it.")});
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("A folder of RTF files, read recursively."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);
    OfficeConversion office;
    if (office.program().isEmpty()) {
        std::fputs("reading_census: soffice is not installed\n", stderr);
        return 2;
    }
    QTemporaryDir temporary;
    const QDir work(parser.isSet(QStringLiteral("work")) ? parser.value(QStringLiteral("work")) : temporary.path());
    work.mkpath(QStringLiteral("."));
    const QStringList inputs = rtfFilesIn(parser.positionalArguments().first());
    // Numbered copies keep files of one name in different folders apart.
    QStringList copies;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        copies << work.filePath(QStringLiteral("f%1.rtf").arg(i, 4, 10, QLatin1Char('0')));
        QFile::remove(copies.last());
        QFile::copy(inputs.at(i), copies.last());
    }
    const QStringList flat =
        office.convert(copies, QStringLiteral("fodt"), QStringLiteral("fodt"), work.filePath(QStringLiteral("flat")));

    ReadingTally total;
    QStringList problems;
    int compared = 0;
    for (qsizetype i = 0; i < inputs.size(); ++i) {
        QString why;
        const auto byOffice = officeReading(flat.at(i), &why);
        const auto byVelmo = byOffice ? velmoReading(copies.at(i), &why) : std::nullopt;
        if (!byOffice || !byVelmo) {
            problems << QStringLiteral("%1: %2 failed: %3").arg(inputs.at(i), byOffice ? "Velmo" : "LibreOffice", why);
            continue;
        }
        ++compared;
        ReadingTally file;
        census::compareReading(*byOffice, *byVelmo, file);
        add(total, file);
        if (parser.isSet(QStringLiteral("show")))
            show(inputs.at(i), *byOffice, *byVelmo);
        if (parser.isSet(QStringLiteral("details")))
            printDetails(inputs.at(i), file);
    }
    std::printf("files: %lld; compared %d; failed %lld\n", static_cast<long long>(inputs.size()), compared,
                static_cast<long long>(problems.size()));
    report(total);
    for (const QString &problem : std::as_const(problems))
        std::printf("%s\n", qPrintable(problem));
    return problems.isEmpty() ? 0 : 1;
}
