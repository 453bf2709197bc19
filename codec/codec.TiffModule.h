#ifndef VELMO_CODEC_TIFFMODULE_H
#define VELMO_CODEC_TIFFMODULE_H

#include "codec/codec.ParameterBlock.h"

namespace velmo::codec {

inline constexpr std::uint32_t kWriteTiffOpcode = 84010;

// Operation 84010: writes the input bitmap as a one-page little-endian TIFF file into the
// output queue and returns its length in the operation area.
std::int32_t runTiffModule(ParameterBlock& block, std::int32_t nPhase);

}

#endif
