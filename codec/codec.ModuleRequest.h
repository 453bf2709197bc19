#ifndef VELMO_CODEC_MODULEREQUEST_H
#define VELMO_CODEC_MODULEREQUEST_H

#include "codec/codec.CodecError.h"
#include "codec/codec.DibView.h"
#include "codec/codec.OutputArea.h"
#include "codec/codec.ParameterBlock.h"

#include <cstdint>

// What every module shares: its phase protocol and the validated input image.
namespace velmo::codec {

inline constexpr std::uint32_t depthBit(std::int32_t nDepth)
{
    return 1u << nDepth;
}

// The request's input image: the block's header over the input queue's data. Throws
// unsupported depth unless the depth is one of nAcceptedDepths (a set of depthBit).
DibView getInputImage(const ParameterBlock& block, std::uint32_t nAcceptedDepths);

// Asks the block's yield callback whether to go on; an interruption marks the request
// and throws.
void yieldToCaller(ParameterBlock& block);

// The phase protocol of a module whose work is all done in the execute phase.
using ExecuteFunction = void (*)(ParameterBlock& block);
std::int32_t runModulePhase(ParameterBlock& block, std::int32_t nPhase, ExecuteFunction pfnExecute);

}

#endif
