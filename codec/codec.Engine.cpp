#include "codec/codec.Engine.h"

#include "codec/codec.ReduceModule.h"
#include "codec/codec.ScaleModule.h"
#include "codec/codec.TiffModule.h"

#include <atomic>
#include <cstdio>
#include <new>

namespace velmo::codec {

namespace {

std::atomic<std::uint32_t> g_nNextThreadToken{1};

// A plain number per thread: thread-local objects with destructors are not safe in a
// library that is unloaded while threads it has seen live on.
std::uint32_t getThreadToken()
{
    thread_local const std::uint32_t nToken = g_nNextThreadToken++;
    return nToken;
}

bool equalsIgnoringCase(const char* pszLeft, const std::string& right)
{
    std::size_t i = 0;
    for (; pszLeft[i] && i < right.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(pszLeft[i]) != lower(right[i]))
            return false;
    }
    return !pszLeft[i] && i == right.size();
}

std::int32_t fail(ParameterBlock& block, std::int32_t nStatus)
{
    block.nStatus = nStatus;
    return responseError;
}

std::uint32_t getModuleIndex(std::uint32_t nOpcode)
{
    return nOpcode / 1000;
}

}

Engine::Engine(std::vector<ModuleDescriptor> modules) : m_modules(std::move(modules)) {}

Engine& Engine::getProcessEngine()
{
    static Engine engine({{"imod5420", &runReduceModule}, {"imod8420", &runTiffModule}, {"imod8820", &runScaleModule}});
    return engine;
}

const std::vector<std::uint32_t>& Engine::getBuiltinModuleIndexes()
{
    static const std::vector<std::uint32_t> indexes{54, 84, 88};
    return indexes;
}

std::string Engine::formatModuleName(std::uint32_t nModuleIndex, std::uint32_t nInterfaceVersion)
{
    char szName[32];
    std::snprintf(szName, sizeof szName, "imod%.2u%.2u", nModuleIndex, nInterfaceVersion);
    return szName;
}

const ModuleDescriptor* Engine::findModule(const std::string& name) const
{
    for (const ModuleDescriptor& module : m_modules) {
        if (equalsIgnoringCase(module.pszName, name))
            return &module;
    }
    return nullptr;
}

Engine::ThreadModules& Engine::getThreadModules()
{
    return m_threadModules[getThreadToken()];
}

std::int32_t Engine::registerModule(std::uint32_t nOpcodeBase, std::uint32_t nInterfaceVersion)
{
    try {
        const std::string name = formatModuleName(getModuleIndex(nOpcodeBase), nInterfaceVersion);
        std::lock_guard<std::mutex> guard(m_lock);
        ThreadModules& mine = getThreadModules();
        auto owned = mine.find(name);
        if (owned != mine.end()) {
            ++owned->second;
            return statusOk;
        }
        std::int32_t nStatus = statusOk;
        Instance* pInstance = findOrCreateInstance(name, nStatus);
        if (!pInstance)
            return nStatus;
        mine.emplace(name, 1);
        ++pInstance->nUseCount;
        return statusOk;
    } catch (const std::bad_alloc&) {
        return statusOutOfMemory;
    }
}

std::int32_t Engine::registerModuleForProcess(std::uint32_t nOpcodeBase, std::uint32_t nInterfaceVersion)
{
    try {
        const std::string name = formatModuleName(getModuleIndex(nOpcodeBase), nInterfaceVersion);
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_processModules.count(name))
            return statusOk;
        std::int32_t nStatus = statusOk;
        Instance* pInstance = findOrCreateInstance(name, nStatus);
        if (!pInstance)
            return nStatus;
        m_processModules.insert(name);
        ++pInstance->nUseCount;
        return statusOk;
    } catch (const std::bad_alloc&) {
        return statusOutOfMemory;
    }
}

Engine::Instance* Engine::findOrCreateInstance(const std::string& name, std::int32_t& nStatus)
{
    auto instance = m_instances.find(name);
    if (instance != m_instances.end())
        return &instance->second;
    const ModuleDescriptor* pModule = findModule(name);
    if (!pModule || !pModule->pfnEntry) {
        nStatus = pModule ? statusEntryPointMissing : statusModuleNotFound;
        return nullptr;
    }
    return &m_instances.emplace(name, Instance{pModule->pfnEntry, 0}).first->second;
}

bool Engine::isRegisteredForCaller(const std::string& name) const
{
    if (m_processModules.count(name))
        return true;
    const auto mine = m_threadModules.find(getThreadToken());
    return mine != m_threadModules.end() && mine->second.count(name);
}

std::int32_t Engine::runPhase(ParameterBlock* pBlock, std::int32_t nPhase)
{
    if (!pBlock)
        return responseNoParameterBlock;
    ParameterBlock& block = *pBlock;
    try {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_instances.empty())
                return fail(block, statusEngineNotInitialised);
        }
        if (block.nBlockSize != kParameterBlockSize || block.nMajorVersion != kMajorVersion)
            return fail(block, statusWrongVersion);
        if (nPhase == phaseStart)
            return startRequest(block);
        if (nPhase != phaseExecute && nPhase != phaseContinue && nPhase != phaseFinish)
            return fail(block, statusInvalidParameter);
        return checkLaterPhase(block, nPhase);
    } catch (const std::bad_alloc&) {
        return fail(block, statusOutOfMemory);
    }
}

std::int32_t Engine::startRequest(ParameterBlock& block)
{
    if (block.request.nActive)
        return fail(block, statusRequestActive);
    const std::uint32_t nModuleIndex = getModuleIndex(block.nOpcode);
    const std::string name = formatModuleName(nModuleIndex, kInterfaceVersion);
    ModuleEntry pfnEntry;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!isRegisteredForCaller(name))
            return fail(block, statusModuleNotRegistered);
        Instance& instance = m_instances.at(name);
        ++instance.nUseCount;
        pfnEntry = instance.pfnEntry;
    }
    block.nFlags &= ~static_cast<std::uint32_t>(flagInterrupted | flagInterruptSeen);
    block.nStatus = statusOk;
    block.request = RequestState{1, nModuleIndex, getThreadToken(), 0};
    const std::int32_t nResponse = callModule(pfnEntry, block, phaseStart);
    // A request its module refused never runs; the block is free for another.
    if (nResponse != responseDone)
        releaseRequest(block);
    return nResponse;
}

std::int32_t Engine::checkLaterPhase(ParameterBlock& block, std::int32_t nPhase)
{
    const ModuleEntry pfnEntry = block.request.nActive ? findEntry(block.request.nModuleIndex) : nullptr;
    if (!pfnEntry)
        return fail(block, statusNoRequestActive);
    if (block.request.nThreadToken != getThreadToken())
        return fail(block, statusWrongThread);
    if (block.nFlags & flagInterrupted) {
        block.nFlags |= flagInterruptSeen;
        if (nPhase == phaseFinish)
            releaseRequest(block);
        return fail(block, statusInterrupted);
    }
    const std::int32_t nResponse = callModule(pfnEntry, block, nPhase);
    if (nPhase == phaseFinish)
        releaseRequest(block);
    return nResponse;
}

ModuleEntry Engine::findEntry(std::uint32_t nModuleIndex) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto instance = m_instances.find(formatModuleName(nModuleIndex, kInterfaceVersion));
    return instance == m_instances.end() ? nullptr : instance->second.pfnEntry;
}

std::int32_t Engine::callModule(ModuleEntry pfnEntry, ParameterBlock& block, std::int32_t nPhase)
{
    try {
        return pfnEntry(block, nPhase);
    } catch (const std::bad_alloc&) {
        return fail(block, statusOutOfMemory);
    } catch (...) {
        return fail(block, statusModuleFailure);
    }
}

void Engine::releaseRequest(ParameterBlock& block)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto instance = m_instances.find(formatModuleName(block.request.nModuleIndex, kInterfaceVersion));
        if (instance != m_instances.end())
            --instance->second.nUseCount;
    }
    block.request = RequestState{};
}

std::int32_t Engine::getThreadUseCount(std::uint32_t nModuleIndex)
{
    std::lock_guard<std::mutex> guard(m_lock);
    const ThreadModules& mine = getThreadModules();
    auto owned = mine.find(formatModuleName(nModuleIndex, kInterfaceVersion));
    return owned == mine.end() ? 0 : owned->second;
}

std::int32_t Engine::getProcessUseCount(std::uint32_t nModuleIndex) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto instance = m_instances.find(formatModuleName(nModuleIndex, kInterfaceVersion));
    return instance == m_instances.end() ? 0 : instance->second.nUseCount;
}

}
