#pragma once
#include <QByteArray>

namespace rtfbench {

// RTF of `pages` pages of formatted prose, as another word processor would
// write it: about 3,800 characters and one small distinct picture per page.
QByteArray generateDocument(int pages);

} // namespace rtfbench
