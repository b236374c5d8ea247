#pragma once
#include <functional>

class MessageBoxSeam;

// Runs a command's steps under its one error trap. A cancelled dialog ends them silently;
// any other failure ends them with one message naming the cause. True when every step ran.
bool runCommand(MessageBoxSeam &messages, const std::function<void()> &steps);
