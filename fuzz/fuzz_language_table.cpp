// Language table text: any bytes must parse without fault, texts within their limit.
#include "app/core/LanguageTable.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const auto table = kx::LanguageTable::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& [number, text] : table.entries()) {
        if (number < 0 || number > 65535 || text.size() > 1023 * 4) std::abort();
    }
    return 0;
}
