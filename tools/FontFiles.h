#pragma once
// Which installed file a font Qt shaped with comes from, for the fonts a line falls back to
// where the book's font lacks a character.

#include <QRawFont>
#include <QString>

// The file of `font`, found through fontconfig by its family and style and checked to hold
// the very font (its 'head' table, which carries the file's checksum). Throws ToolError when
// no installed file does, or when it is one face of a collection.
QString FontFileOf(const QRawFont& font);
