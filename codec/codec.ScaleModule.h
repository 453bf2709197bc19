#ifndef VELMO_CODEC_SCALEMODULE_H
#define VELMO_CODEC_SCALEMODULE_H

#include "codec/codec.ParameterBlock.h"

namespace velmo::codec {

inline constexpr std::uint32_t kScaleOpcode = 88010;

// Operation 88010: scales the input bitmap to the size in the operation area; returns
// the output's header there.
std::int32_t runScaleModule(ParameterBlock& block, std::int32_t nPhase);

}

#endif
