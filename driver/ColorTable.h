#ifndef VELMO_DRIVER_COLORTABLE_H
#define VELMO_DRIVER_COLORTABLE_H

#include <array>
#include <cstdint>

namespace velmo::driver {

// The 256-entry colour table that every captured page carries. Each entry is blue, green,
// red and a zero byte, as a bitmap's colour table is read; no pixel of a 24-bit page refers
// to it.
constexpr int colorTableEntries = 256;
using ColorTableBytes = std::array<std::uint8_t, colorTableEntries * 4>;

const ColorTableBytes& colorTable();

}

#endif
