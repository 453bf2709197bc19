#ifndef VELMO_CODEC_REDUCEMODULE_H
#define VELMO_CODEC_REDUCEMODULE_H

#include "codec/codec.ParameterBlock.h"

namespace velmo::codec {

inline constexpr std::uint32_t kReduceOpcode = 54010;

// Operation 54010: reduces an 8- or 24-bit bitmap to a 1-bit one whose set bits are
// black, with the dither the operation area selects. Returns the output's header in the
// operation area and its two-entry colour table (white, black) in the block's table.
std::int32_t runReduceModule(ParameterBlock& block, std::int32_t nPhase);

}

#endif
