#ifndef VELMO_DRIVER_CODECREQUEST_H
#define VELMO_DRIVER_CODECREQUEST_H

#include "codec/codec.ParameterBlock.h"

#include <cstdint>

namespace velmo::driver {

// The engine's operations that the page conversion uses.
enum CodecOperation : std::uint32_t { operationScale = 88010, operationReduce = 54010, operationWriteTiff = 84010 };

// Registers the engine's modules for the calling thread (once per thread); 0 or the
// engine's status.
std::int32_t ensureCodecEngine();
// Runs an operation's start, execute and finish requests; 0 on success, else the answer
// or status that failed.
std::int32_t runCodecOperation(codec::ParameterBlock& block, std::uint32_t nOperation);

}

#endif
