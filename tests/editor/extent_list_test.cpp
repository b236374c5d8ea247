#include "layout/extent_list.h"
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

// Random edits of every kind, checked against a plain vector: sums, lookups by offset, and
// stretches that cross chunk boundaries or empty whole chunks.
TEST(ExtentList, AgreesWithAPlainListThroughRandomEdits)
{
    std::mt19937 random(7);
    ExtentList list;
    std::vector<qint32> plain;
    for (int i = 0; i < 3000; ++i) {
        const qint32 e = qint32(random() % 50);
        list.append(e);
        plain.push_back(e);
    }
    for (int round = 0; round < 400; ++round) {
        const int at = int(random() % (plain.size() + 1));
        const int count = at == int(plain.size()) ? 0 : int(random() % std::min<std::size_t>(plain.size() - at, round % 10 ? 5 : 1500));
        std::vector<qint32> fresh(random() % (round % 7 ? 4 : 1300));
        for (qint32 &e : fresh)
            e = qint32(random() % 60);
        list.replace(at, count, fresh);
        plain.erase(plain.begin() + at, plain.begin() + at + count);
        plain.insert(plain.begin() + at, fresh.begin(), fresh.end());
        if (round % 50 == 0 && !plain.empty()) {
            list.set(int(plain.size()) / 2, 99);
            plain[plain.size() / 2] = 99;
        }
        ASSERT_EQ(list.size(), int(plain.size()));
        ASSERT_EQ(list.total(), std::accumulate(plain.begin(), plain.end(), qint64(0)));
        for (int probe = 0; probe < 20 && !plain.empty(); ++probe) {
            const int i = int(random() % plain.size());
            ASSERT_EQ(list.at(i), plain[i]);
            const qint64 offset = std::accumulate(plain.begin(), plain.begin() + i, qint64(0));
            ASSERT_EQ(list.offsetOf(i), offset);
            if (plain[i] > 0) {
                ASSERT_EQ(list.indexAt(offset), i);
                ASSERT_EQ(list.indexAt(offset + plain[i] - 1), i);
            }
        }
    }
    EXPECT_EQ(list.indexAt(list.total() + 100), list.size() - 1) << "past the end is the last";
    list.truncate(10);
    EXPECT_EQ(list.size(), 10);
    EXPECT_EQ(list.total(), std::accumulate(plain.begin(), plain.begin() + 10, qint64(0)));
    list.truncate(0);
    EXPECT_EQ(list.indexAt(0), -1);
}

} // namespace
