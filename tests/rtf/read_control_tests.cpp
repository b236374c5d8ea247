// A long read tells its caller how far it is, now and then, and stops when asked.
#include "rtf_test_support.h"
#include <QTextDocument>
#include <atomic>
#include <vector>

namespace {

constexpr qint64 Every = rtf::ReadControl::ReportEvery;

QByteArray paragraphs(int count)
{
    return rtftest::withHeader(QByteArray("\\pard some words of a paragraph, {\\b bold} too\\par\n").repeated(count));
}

struct Report
{
    qint64 done;
    qint64 total;
};

struct FollowedRead
{
    QTextDocument document;
    QString reason;
    std::vector<Report> reports;
    std::atomic<bool> cancel = false;
    qint64 cancelAfter = -1; // bytes after which the caller asks to stop

    bool read(const QByteArray &bytes, bool withCancel = true)
    {
        rtf::ReadControl control;
        control.progress = [this](qint64 done, qint64 total) {
            reports.push_back({done, total});
            if (cancelAfter >= 0 && done >= cancelAfter)
                cancel = true;
        };
        control.cancel = withCancel ? &cancel : nullptr;
        return rtf::read(bytes, document, rtf::ReadLimits{}, &reason, nullptr, control);
    }
};

TEST(ReadControl, ProgressComesEveryBlockOfBytesAndEndsAtTheTotal)
{
    const QByteArray bytes = paragraphs(40'000); // about 2 MB
    FollowedRead read;
    ASSERT_TRUE(read.read(bytes)) << read.reason.toStdString();
    ASSERT_FALSE(read.reports.empty());
    const qint64 blocks = bytes.size() / Every;
    EXPECT_GE(qint64(read.reports.size()), blocks) << "too few reports";
    EXPECT_LE(qint64(read.reports.size()), blocks + 2) << "reports must be rare, not one a token";
    for (std::size_t i = 0; i < read.reports.size(); ++i) {
        EXPECT_EQ(read.reports[i].total, bytes.size());
        if (i > 0 && i + 1 < read.reports.size()) {
            EXPECT_GE(read.reports[i].done - read.reports[i - 1].done, Every) << "at report " << i;
        }
    }
    EXPECT_EQ(read.reports.back().done, bytes.size()) << "a finished read ends at the whole file";
    EXPECT_EQ(read.document.blockCount(), 40'001);
}

TEST(ReadControl, CancelStopsAtTheNextBlockAndLeavesTheDocumentEmpty)
{
    const QByteArray bytes = paragraphs(40'000);
    FollowedRead read;
    read.cancelAfter = 3 * Every;
    EXPECT_FALSE(read.read(bytes));
    EXPECT_EQ(read.reason, rtf::cancelledReason());
    EXPECT_TRUE(read.document.isEmpty());
    ASSERT_FALSE(read.reports.empty());
    EXPECT_LT(read.reports.back().done, 5 * Every) << "the read went on after the cancel";
}

// The flag is looked at only where progress is told: short files are read whole even so.
TEST(ReadControl, CancelAlreadySetStopsOnlyFilesPastTheFirstBlock)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        bool finishes;
    };
    const Case cases[] = {
        {"short", paragraphs(10), true},
        {"long", paragraphs(40'000), false},
    };
    for (const Case &c : cases) {
        FollowedRead read;
        read.cancel = true;
        EXPECT_EQ(read.read(c.bytes), c.finishes) << c.name;
        EXPECT_EQ(read.document.isEmpty(), !c.finishes) << c.name;
    }
}

TEST(ReadControl, ProgressAloneOrNoControlReadsTheSame)
{
    const QByteArray bytes = paragraphs(5'000);
    FollowedRead followed;
    ASSERT_TRUE(followed.read(bytes, false));
    QTextDocument plain;
    ASSERT_TRUE(rtf::read(bytes, plain));
    EXPECT_EQ(rtftest::dumpDocument(followed.document), rtftest::dumpDocument(plain));
}

TEST(ReadControl, PlainTextIsReadWholeWithoutReports)
{
    FollowedRead read;
    read.cancel = true;
    ASSERT_TRUE(read.read(QByteArray("not rtf, just words\n").repeated(20'000)));
    EXPECT_TRUE(read.reports.empty());
    EXPECT_EQ(read.document.blockCount(), 20'001);
}

} // namespace
