#pragma once
// Velmo's reading of a file as a person sees its body paragraphs.
#include "reading_comparison.h"

class QTextDocument;

namespace census {

ShownDocument shownDocument(const QTextDocument &document);

} // namespace census
