#ifndef VELMO_CODEC_ENGINE_H
#define VELMO_CODEC_ENGINE_H

#include "codec/codec.ParameterBlock.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace velmo::codec {

// A module's entry point: runs one phase of a request, answers a response.
using ModuleEntry = std::int32_t (*)(ParameterBlock& block, std::int32_t nPhase);

struct ModuleDescriptor {
    const char* pszName;
    ModuleEntry pfnEntry;
};

// The request dispatcher. Modules are found by name in a table given at construction
// (the library's own modules for the process engine). A thread registers the modules it
// uses; a request runs start, execute, continue and finish phases on the thread that
// started it.
class Engine {
public:
    explicit Engine(std::vector<ModuleDescriptor> modules);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // The process's engine over the library's modules.
    static Engine& getProcessEngine();
    // Indexes of the modules the library carries, in registration order.
    static const std::vector<std::uint32_t>& getBuiltinModuleIndexes();

    // "imod" + two-digit module index + two-digit interface version.
    static std::string formatModuleName(std::uint32_t nModuleIndex, std::uint32_t nInterfaceVersion);

    // Makes the module of an opcode base available to the calling thread; 0 or a status.
    std::int32_t registerModule(std::uint32_t nOpcodeBase, std::uint32_t nInterfaceVersion);
    // Makes it available to every thread of the process, once: for a caller whose requests
    // come on whatever threads its host has, which would otherwise leave a registration
    // behind for each of them. 0 or a status.
    std::int32_t registerModuleForProcess(std::uint32_t nOpcodeBase, std::uint32_t nInterfaceVersion);
    // Runs one phase of the request in pBlock; answers a response (see Response).
    std::int32_t runPhase(ParameterBlock* pBlock, std::int32_t nPhase);

    std::int32_t getThreadUseCount(std::uint32_t nModuleIndex);
    std::int32_t getProcessUseCount(std::uint32_t nModuleIndex) const;

private:
    struct Instance {
        ModuleEntry pfnEntry = nullptr;
        std::int32_t nUseCount = 0;
    };
    using ThreadModules = std::map<std::string, std::int32_t>;

    std::int32_t startRequest(ParameterBlock& block);
    std::int32_t checkLaterPhase(ParameterBlock& block, std::int32_t nPhase);
    ModuleEntry findEntry(std::uint32_t nModuleIndex) const;
    static std::int32_t callModule(ModuleEntry pfnEntry, ParameterBlock& block, std::int32_t nPhase);
    void releaseRequest(ParameterBlock& block);
    // The calling thread's registrations; m_lock held.
    ThreadModules& getThreadModules();
    // Whether the calling thread may use the module; m_lock held. Adds nothing.
    bool isRegisteredForCaller(const std::string& name) const;
    // The module's instance, made at its first registration; null when there is no such
    // module (the status says why). m_lock held.
    Instance* findOrCreateInstance(const std::string& name, std::int32_t& nStatus);
    const ModuleDescriptor* findModule(const std::string& name) const;

    const std::vector<ModuleDescriptor> m_modules;
    mutable std::mutex m_lock;
    std::map<std::string, Instance> m_instances;
    // Registrations per thread token. A thread's entry outlives the thread (a few bytes
    // per module), as the modules a thread loaded stay registered for it.
    std::map<std::uint32_t, ThreadModules> m_threadModules;
    std::set<std::string> m_processModules;
};

}

#endif
