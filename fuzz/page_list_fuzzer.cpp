// Arbitrary text as a page list ("0,2-5"), as korvaconv and the conversions take it: a list or
// a clear exception, never a crash or an allocation without bound.
#include "core/String.h"
#include "core/exception.BaseException.h"
#include "lib/graphics.TiffBundler.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using namespace velmo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    if (nSize > 4096)
        return 0;
    const std::string text(reinterpret_cast<const char*>(pData), nSize);
    core::collections::SimpleTypeArray<std::int32_t> pages;
    try {
        lib::graphics::TiffBundler::parsePageList(text.c_str(), pages);
    } catch (const core::exception::BaseException&) {
    }
    // Ranges are capped for the whole list; single numbers take at least a character each.
    if (pages.getCount() > (1 << 20) + static_cast<std::int32_t>(nSize))
        std::abort();
    return 0;
}
