// The entry points of every reader target: the input is the bytes of one file, handed to
// the reader's fuzzReader().
#include "fuzzwindow.h"
#include "readers/reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The window is made before the first input, so that no input pays for it.
    fuzzwin::startApplication();
    fuzzwin::window();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzReader(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
