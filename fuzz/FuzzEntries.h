#pragma once
// The entry points that the fuzz targets and the regression tests over their saved inputs
// share, so that a crashing input found by a fuzzer is replayed through exactly the same code.
// Each takes arbitrary bytes and must neither crash nor leak; expected failures (the layer's
// own exception types) are absorbed.

#include <cstddef>
#include <cstdint>

namespace golvar_fuzz {

// A Pages.PageBMP blob, decoded and converted to 24 bits by the page's own functions, then
// read row by row.
void PageBlob(const std::uint8_t* data, std::size_t size);
// A file handed to the player's decoder as a recording.
void Wav(const std::uint8_t* data, std::size_t size);
// A connection string parsed as a connection parses it, queried and wiped.
void ConnectionStringText(const std::uint8_t* data, std::size_t size);
// A filter text set on a result set of ayeh rows (integers, nulls, texts), then the filtered
// view walked and searched. The result set is built on first use in a private folder.
void FilterText(const std::uint8_t* data, std::size_t size);

} // namespace golvar_fuzz
