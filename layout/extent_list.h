#pragma once
#include <QtGlobal>
#include <vector>

// The heights of a long run of paragraphs, where a paragraph's height can change, paragraphs
// can come and go anywhere, and the offset of any one of them must be found fast: stored in
// chunks of a few hundred with each chunk's sum, so an edit costs a chunk and a walk over the
// chunk sums, not a walk over every paragraph.
class ExtentList
{
public:
    int size() const { return size_; }
    qint64 total() const { return total_; }
    qint32 at(int index) const;
    // The sum of the extents before `index`.
    qint64 offsetOf(int index) const;
    // The index whose extent holds `offset` (the last one past the end, -1 when empty).
    int indexAt(qint64 offset) const;

    void append(qint32 extent);
    void set(int index, qint32 extent);
    // Replaces `count` extents from `index` with `extents`.
    void replace(int index, int count, const std::vector<qint32> &extents);
    void truncate(int size);

private:
    struct Chunk
    {
        std::vector<qint32> extents;
        qint64 sum = 0;
    };
    // The chunk holding `index` and the index of that chunk's first extent.
    std::pair<int, int> locate(int index) const;
    void resum(Chunk &chunk);
    void rebalance(int chunk);

    std::vector<Chunk> chunks_;
    int size_ = 0;
    qint64 total_ = 0;
};
