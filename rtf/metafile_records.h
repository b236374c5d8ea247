#pragma once
#include "rtf/metafiles.h"
#include <QByteArray>
#include <QSize>

namespace rtf {

// What a metafile says of itself, read from its header and records without playing it.

// Whether any record paints (shapes, text, bitmaps, EMF+ drawing) rather than only
// setting state: a player that leaves such a metafile blank has skipped what it holds.
bool hasDrawingRecords(const QByteArray &bytes, MetafileKind kind);

// The size the metafile was made at, in pixels at 96 an inch: an enhanced metafile's
// frame, or a placeable header's bounds. Empty when it does not say.
QSize metafileOwnPixels(const QByteArray &bytes, MetafileKind kind);

} // namespace rtf
