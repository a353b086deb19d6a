#include "fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    golvar_fuzz::PageBlob(data, size);
    return 0;
}
