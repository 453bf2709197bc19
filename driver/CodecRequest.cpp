#include "driver/CodecRequest.h"

#include "codec/codec.Engine.h"

namespace velmo::driver {

std::int32_t ensureCodecEngine()
{
    // Registration is per thread; a thread that has its modules asks no more.
    thread_local bool t_bRegistered = false;
    if (t_bRegistered)
        return 0;
    codec::Engine& engine = codec::Engine::getProcessEngine();
    for (std::uint32_t nModuleIndex : codec::Engine::getBuiltinModuleIndexes()) {
        std::int32_t nStatus = engine.registerModule(nModuleIndex * 1000, codec::kInterfaceVersion);
        if (nStatus != 0)
            return nStatus;
    }
    t_bRegistered = true;
    return 0;
}

std::int32_t runCodecOperation(codec::ParameterBlock& block, std::uint32_t nOperation)
{
    codec::Engine& engine = codec::Engine::getProcessEngine();
    block.nOpcode = nOperation;
    block.engineHandle.set(&engine);
    std::int32_t nAnswer = engine.runPhase(&block, codec::phaseStart);
    if (nAnswer != codec::responseDone)
        return block.nStatus != 0 ? block.nStatus : nAnswer;
    nAnswer = engine.runPhase(&block, codec::phaseExecute);
    std::int32_t nFinish = engine.runPhase(&block, codec::phaseFinish);
    if (nAnswer != 0 && nAnswer != codec::responseDone)
        return block.nStatus != 0 ? block.nStatus : nAnswer;
    return nFinish == codec::responseDone ? 0 : nFinish;
}

}
