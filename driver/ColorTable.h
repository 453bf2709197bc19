#ifndef VELMO_DRIVER_COLORTABLE_H
#define VELMO_DRIVER_COLORTABLE_H

#include <array>
#include <cstdint>

namespace velmo::driver {

// The 256-entry colour table that every captured page carries. Each entry is red, green,
// blue and a zero byte; no pixel of a 24-bit page refers to it.
constexpr int colorTableEntries = 256;
using ColorTableBytes = std::array<std::uint8_t, colorTableEntries * 4>;

const ColorTableBytes& colorTable();

}

#endif
