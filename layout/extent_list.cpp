#include "layout/extent_list.h"
#include <numeric>

namespace {
constexpr std::size_t ChunkSize = 512;
}

std::pair<int, int> ExtentList::locate(int index) const
{
    int first = 0;
    for (int c = 0; c < int(chunks_.size()); ++c) {
        const int n = int(chunks_[c].extents.size());
        if (index < first + n)
            return {c, first};
        first += n;
    }
    return {int(chunks_.size()), first};
}

qint32 ExtentList::at(int index) const
{
    const auto [chunk, first] = locate(index);
    return chunks_[chunk].extents[index - first];
}

qint64 ExtentList::offsetOf(int index) const
{
    qint64 offset = 0;
    int first = 0;
    for (const Chunk &chunk : chunks_) {
        const int n = int(chunk.extents.size());
        if (index < first + n)
            return offset + std::accumulate(chunk.extents.begin(), chunk.extents.begin() + (index - first), qint64(0));
        offset += chunk.sum;
        first += n;
    }
    return offset;
}

int ExtentList::indexAt(qint64 offset) const
{
    int first = 0;
    for (const Chunk &chunk : chunks_) {
        if (offset < chunk.sum) {
            for (qint32 extent : chunk.extents) {
                if (offset < extent)
                    return first;
                offset -= extent;
                ++first;
            }
        }
        offset -= chunk.sum;
        first += int(chunk.extents.size());
    }
    return size_ - 1;
}

void ExtentList::resum(Chunk &chunk)
{
    total_ -= chunk.sum;
    chunk.sum = std::accumulate(chunk.extents.begin(), chunk.extents.end(), qint64(0));
    total_ += chunk.sum;
}

void ExtentList::append(qint32 extent)
{
    if (chunks_.empty() || chunks_.back().extents.size() >= ChunkSize)
        chunks_.emplace_back();
    chunks_.back().extents.push_back(extent);
    chunks_.back().sum += extent;
    total_ += extent;
    ++size_;
}

void ExtentList::set(int index, qint32 extent)
{
    const auto [chunk, first] = locate(index);
    qint32 &old = chunks_[chunk].extents[index - first];
    chunks_[chunk].sum += extent - old;
    total_ += extent - old;
    old = extent;
}

// A chunk grown past twice its size is split; an emptied one is dropped.
void ExtentList::rebalance(int c)
{
    Chunk &chunk = chunks_[c];
    if (chunk.extents.empty()) {
        chunks_.erase(chunks_.begin() + c);
        return;
    }
    if (chunk.extents.size() <= 2 * ChunkSize)
        return;
    std::vector<Chunk> pieces;
    for (std::size_t at = 0; at < chunk.extents.size(); at += ChunkSize) {
        Chunk piece;
        piece.extents.assign(chunk.extents.begin() + at,
                             chunk.extents.begin() + std::min(at + ChunkSize, chunk.extents.size()));
        piece.sum = std::accumulate(piece.extents.begin(), piece.extents.end(), qint64(0));
        pieces.push_back(std::move(piece));
    }
    chunks_.erase(chunks_.begin() + c);
    chunks_.insert(chunks_.begin() + c, pieces.begin(), pieces.end());
}

void ExtentList::replace(int index, int count, const std::vector<qint32> &extents)
{
    // Removing a long stretch walks whole chunks; the new extents go where the stretch began.
    while (count > 0) {
        const auto [c, first] = locate(index);
        Chunk &chunk = chunks_[c];
        const int from = index - first;
        const int n = std::min(count, int(chunk.extents.size()) - from);
        chunk.extents.erase(chunk.extents.begin() + from, chunk.extents.begin() + from + n);
        resum(chunk);
        size_ -= n;
        count -= n;
        if (chunk.extents.empty())
            chunks_.erase(chunks_.begin() + c);
    }
    if (extents.empty())
        return;
    auto [c, first] = locate(index);
    if (c == int(chunks_.size())) {
        if (chunks_.empty())
            chunks_.emplace_back();
        c = int(chunks_.size()) - 1;
        first = size_ - int(chunks_.back().extents.size());
    }
    Chunk &chunk = chunks_[c];
    chunk.extents.insert(chunk.extents.begin() + (index - first), extents.begin(), extents.end());
    resum(chunk);
    size_ += int(extents.size());
    rebalance(c);
}

void ExtentList::truncate(int size)
{
    if (size < size_)
        replace(size, size_ - size, {});
}
