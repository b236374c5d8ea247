#pragma once
#include "layout/extent_list.h"
#include <map>
#include <vector>

// The heights of a flow's paragraphs from the first: measured ones, and guesses standing in for
// paragraphs far below the measured ones that were asked about before their turn (a jump to the
// end of a long document). Guesses are kept as runs of paragraph numbers, few and shifted by edits.
class FlowHeights
{
public:
    int size() const { return extents_.size(); }
    qint64 total() const { return extents_.total(); }
    qint32 at(int index) const { return extents_.at(index); }
    qint64 offsetOf(int index) const { return extents_.offsetOf(index); }
    int indexAt(qint64 offset) const { return extents_.indexAt(offset); }

    bool guessed(int index) const { return guessRunEnd(index) > index; }
    bool hasGuesses() const { return !guesses_.empty(); }
    // The first guessed paragraph, and the end of the run of guesses `index` is in (`index`
    // itself when it is no guess).
    int firstGuess() const { return guesses_.begin()->first; }
    int guessRunEnd(int index) const;

    void append(qint32 extent) { extents_.append(extent); }
    void appendGuesses(int count, qint32 extent);
    // Replaces `count` heights from `index` with measured ones.
    void replace(int index, int count, const std::vector<qint32> &extents);
    void truncate(int size);
    // Takes the heights of paragraphs [from, to) for guesses: they are measured again in turn.
    void markGuessed(int from, int to);

private:
    void forgetGuesses(int from, int to);

    ExtentList extents_;
    std::map<int, int> guesses_; // first paragraph of a run of guesses -> the end of the run
};
