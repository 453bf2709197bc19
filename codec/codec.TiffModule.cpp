#include "codec/codec.TiffModule.h"

#include "codec/codec.ModuleRequest.h"

namespace velmo::codec {

namespace {

void executeWriteTiff(ParameterBlock&)
{
    throw CodecError(statusUnsupportedDepth);
}

}

std::int32_t runTiffModule(ParameterBlock& block, std::int32_t nPhase)
{
    return runModulePhase(block, nPhase, &executeWriteTiff);
}

}
