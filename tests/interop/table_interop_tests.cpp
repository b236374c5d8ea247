// Tables through headless LibreOffice both ways: nesting and merged cells keep
// their structure. The structure of each side is read through Qt's own HTML
// reader, so both are compared in the same terms.
#include "rtf/rtf.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

inline void PrintTo(const QString &text, std::ostream *os) { *os << text.toStdString(); }

namespace {

// One line per paragraph with text: every table around it with the cell's
// place and span (or only its row), then the text.
QString structure(const QTextDocument &document, bool rowsOnly = false)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text().trimmed();
        if (text.isEmpty())
            continue;
        QStringList cells;
        for (QTextFrame *frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame()) {
            if (auto *table = qobject_cast<QTextTable *>(frame)) {
                const QTextTableCell cell = table->cellAt(block.position());
                cells.prepend(rowsOnly ? QStringLiteral("row %1").arg(cell.row())
                                       : QStringLiteral("%1,%2 %3x%4").arg(cell.row()).arg(cell.column())
                                             .arg(cell.rowSpan()).arg(cell.columnSpan()));
            }
        }
        lines << cells.join(QStringLiteral(" > ")) + QStringLiteral(" | ") + text;
    }
    return lines.join(u'\n');
}

const char *const nestedAndMerged =
    "<html><head><meta charset=\"utf-8\"></head><body><p>before</p>"
    "<table border=\"1\">"
    "<tr><td colspan=\"2\">wide</td><td rowspan=\"2\">tall</td></tr>"
    "<tr><td>left</td><td><table border=\"1\"><tr><td>innerA</td><td>innerB</td></tr>"
    "<tr><td>innerC</td><td>innerD</td></tr></table></td></tr>"
    "<tr><td>x</td><td>y</td><td>z</td></tr>"
    "</table><p>after</p></body></html>";

class LibreOfficeTables : public testing::Test
{
protected:
    void SetUp() override
    {
        m_soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        if (m_soffice.isEmpty())
            GTEST_SKIP() << "soffice is not installed";
        ASSERT_TRUE(m_dir.isValid() && m_profile.isValid());
    }

    QString convert(const QString &file, const QString &filter, const QString &suffix)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.start(m_soffice, {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(m_profile.path()).toString(),
                                  QStringLiteral("--headless"), QStringLiteral("--norestore"),
                                  QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"),
                                  m_dir.filePath(QStringLiteral("out")), m_dir.filePath(file)});
        if (!process.waitForFinished(180000)) {
            process.kill();
            ADD_FAILURE() << "soffice did not finish";
            return {};
        }
        const QString converted =
            m_dir.filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName() + u'.' + suffix);
        EXPECT_TRUE(QFile::exists(converted)) << process.readAllStandardError().toStdString();
        return converted;
    }

    void save(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QByteArray load(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QString m_soffice;
    QTemporaryDir m_dir, m_profile;
};

// Given a document with a nested table and merges across and down, when
// Velmo writes it and LibreOffice turns the file into HTML, then the HTML has
// the same rows, cells, spans and nesting.
TEST_F(LibreOfficeTables, ReadsVelmosNestedAndMergedTables)
{
    QTextDocument original;
    original.setHtml(QString::fromUtf8(nestedAndMerged));
    const QString expected = structure(original);
    ASSERT_TRUE(expected.contains(QStringLiteral("> 0,0 1x1 | innerA"))) << expected.toStdString();

    save(QStringLiteral("velmo.rtf"), rtf::write(original));
    const QString html = convert(QStringLiteral("velmo.rtf"), QStringLiteral("html:HTML (StarWriter):UTF8"),
                                 QStringLiteral("html"));
    ASSERT_FALSE(html.isEmpty());
    QTextDocument peer;
    peer.setHtml(QString::fromUtf8(load(html)));
    EXPECT_EQ(structure(peer), expected);
}

// Given LibreOffice's RTF of a document with a nested table and merged cells
// (merges across written as one wide cell), when Velmo reads it, then it has
// the structure LibreOffice reads from the same file.
TEST_F(LibreOfficeTables, VelmoReadsLibreOfficesNestedAndMergedTables)
{
    save(QStringLiteral("peer.html"), QByteArray(nestedAndMerged));
    const QString rtfPath = convert(QStringLiteral("peer.html"), QStringLiteral("rtf:Rich Text Format"),
                                    QStringLiteral("rtf"));
    ASSERT_FALSE(rtfPath.isEmpty());
    QTextDocument document;
    QString reason;
    ASSERT_TRUE(rtf::read(load(rtfPath), document, &reason)) << reason.toStdString();
    // LibreOffice's own reading of its file is the measure: its HTML import
    // already joins the nested table to the text of the cell before it.
    const QString html = convert(QStringLiteral("out/peer.rtf"), QStringLiteral("html:HTML (StarWriter):UTF8"),
                                 QStringLiteral("html"));
    ASSERT_FALSE(html.isEmpty());
    QTextDocument peer;
    peer.setHtml(QString::fromUtf8(load(html)));
    // Its HTML writes its own column grid, so rows and nesting are compared
    // with it, and the spans with the document the test made.
    EXPECT_EQ(structure(document, true), structure(peer, true));
    const QString read = structure(document);
    for (const char *part : {"0,0 1x2 | wide", "0,2 2x1 | tall", "> 1,1 1x1 | innerD", "2,2 1x1 | z"})
        EXPECT_TRUE(read.contains(QLatin1StringView(part))) << part << "\n" << read.toStdString();
}

} // namespace
