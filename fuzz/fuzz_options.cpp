// Options file text: any bytes must parse without fault.
#include "app/core/ViewerOptions.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // An empty SAVE_DIRECTORY creates the default capture folder: keep that out of $HOME.
    setenv("HOME", "/tmp/kx480-fuzz-home", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    kx::ViewerOptions options;
    kx::ParseOptionsText(std::string_view(reinterpret_cast<const char*>(data), size), options);
    (void)kx::FormatOptionsText(options);
    return 0;
}
