#pragma once
#include <QString>
#include <functional>

class QTextEdit;

namespace velmobench {

constexpr int Pages = 1000;

// The 1,000-page benchmark document, written once to a temporary file that goes when the program ends.
QString largeDocumentFile();
// Lets `editor` finish what a person waits for after a change: the whole layout, then a paint.
void settle(QTextEdit &editor);
// How long `step` takes, in milliseconds: on the clock, and on this thread's processor time, which a
// busy machine disturbs far less.
struct Duration
{
    double wallMs = 0, cpuMs = 0;
    Duration &operator+=(const Duration &d)
    {
        wallMs += d.wallMs, cpuMs += d.cpuMs;
        return *this;
    }
};
Duration durationOf(const std::function<void()> &step);
inline double millisecondsOf(const std::function<void()> &step) { return durationOf(step).wallMs; }

} // namespace velmobench
