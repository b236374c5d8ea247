#include "layout/flow_heights.h"
#include <climits>
#include <iterator>
#include <utility>

int FlowHeights::guessRunEnd(int index) const
{
    auto run = guesses_.upper_bound(index);
    return run != guesses_.begin() && index < std::prev(run)->second ? std::prev(run)->second : index;
}

void FlowHeights::appendGuesses(int count, qint32 extent)
{
    if (count <= 0)
        return;
    const int from = extents_.size();
    for (int i = 0; i < count; ++i)
        extents_.append(extent);
    auto last = guesses_.empty() ? guesses_.end() : std::prev(guesses_.end());
    if (last != guesses_.end() && last->second == from)
        last->second += count;
    else
        guesses_[from] = from + count;
}

// Takes paragraphs [from, to) out of the runs of guesses, splitting a run they fall inside.
void FlowHeights::forgetGuesses(int from, int to)
{
    if (from >= to)
        return;
    auto run = guesses_.upper_bound(from);
    if (run != guesses_.begin())
        --run;
    while (run != guesses_.end() && run->first < to) {
        const int start = run->first, end = run->second;
        run = guesses_.erase(run);
        if (start < from)
            guesses_[start] = qMin(end, from);
        if (end > to)
            run = guesses_.emplace(to, end).first;
    }
}

void FlowHeights::replace(int index, int count, const std::vector<qint32> &extents)
{
    extents_.replace(index, count, extents);
    if (!hasGuesses() || (count == 0 && extents.empty()))
        return;
    forgetGuesses(index, index + count);
    auto run = guesses_.upper_bound(index);
    if (count == 0 && run != guesses_.begin() && std::prev(run)->first < index && std::prev(run)->second > index) {
        // New heights go in the middle of a run of guesses: it is split around them.
        const int end = std::exchange(std::prev(run)->second, index);
        guesses_.emplace(index, end);
    }
    // The runs below the replaced paragraphs move with them; runs the removed paragraphs stood
    // between come together.
    const int shift = int(extents.size()) - count;
    std::map<int, int> moved;
    for (const auto &[first, end] : guesses_) {
        const int by = first >= index + count ? shift : 0;
        if (!moved.empty() && std::prev(moved.end())->second == first + by)
            std::prev(moved.end())->second = end + by;
        else
            moved.emplace(first + by, end + by);
    }
    guesses_ = std::move(moved);
}

void FlowHeights::markGuessed(int from, int to)
{
    to = qMin(to, size());
    if (from >= to)
        return;
    forgetGuesses(from, to);
    auto after = guesses_.find(to);
    const int end = after != guesses_.end() ? after->second : to;
    if (after != guesses_.end())
        guesses_.erase(after);
    auto before = guesses_.lower_bound(from);
    if (before != guesses_.begin() && std::prev(before)->second == from)
        std::prev(before)->second = end;
    else
        guesses_[from] = end;
}

void FlowHeights::truncate(int size)
{
    extents_.truncate(size);
    forgetGuesses(size, INT_MAX);
}
