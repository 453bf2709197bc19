#include "driver/CodecRequest.h"

#include "codec/codec.Engine.h"

#include <mutex>

namespace velmo::driver {

std::int32_t ensureCodecEngine()
{
    // Once for the process: pages come on whatever threads the application or the
    // spooler's host has, and a registration per thread would outlive each of them.
    static std::mutex s_lock;
    static bool s_bRegistered = false;
    std::lock_guard<std::mutex> guard(s_lock);
    if (s_bRegistered)
        return 0;
    codec::Engine& engine = codec::Engine::getProcessEngine();
    for (std::uint32_t nModuleIndex : codec::Engine::getBuiltinModuleIndexes()) {
        std::int32_t nStatus = engine.registerModuleForProcess(nModuleIndex * 1000, codec::kInterfaceVersion);
        if (nStatus != 0)
            return nStatus;
    }
    s_bRegistered = true;
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
