#include "codec/codec.Engine.h"

#include <gtest/gtest.h>

#include <new>
#include <thread>

using namespace velmo::codec;

namespace {

// Fake modules, so that the dispatcher's own answers stand apart from any operation's.
std::int32_t answerDone(ParameterBlock&, std::int32_t)
{
    return responseDone;
}

std::int32_t answerSeven(ParameterBlock&, std::int32_t nPhase)
{
    return nPhase == phaseExecute ? 7 : responseDone;
}

std::int32_t runOutOfMemory(ParameterBlock&, std::int32_t nPhase)
{
    if (nPhase == phaseExecute)
        throw std::bad_alloc();
    return responseDone;
}

std::int32_t markInterrupted(ParameterBlock& block, std::int32_t nPhase)
{
    if (nPhase == phaseExecute) {
        block.nFlags |= flagInterrupted;
        block.nStatus = statusInterrupted;
        return responseError;
    }
    return responseDone;
}

Engine makeEngine()
{
    return Engine({{"imod8820", &answerDone}, {"IMOD5420", &answerSeven}, {"imod8420", &runOutOfMemory},
                   {"imod1020", nullptr}, {"imod1120", &markInterrupted}});
}

ParameterBlock makeBlock(std::uint32_t nOpcode)
{
    ParameterBlock block;
    initialiseParameterBlock(block);
    block.nOpcode = nOpcode;
    block.nFlags = 256;
    return block;
}

struct PhaseCase {
    const char* pszName;
    std::uint32_t nOpcode;
    // Engine and block before the phase under test.
    void (*arrange)(Engine& engine, ParameterBlock& block);
    std::int32_t nPhase;
    std::int32_t nResponse;
    std::int32_t nStatus;
};

void registerScale(Engine& engine, ParameterBlock&)
{
    engine.registerModule(88000, kInterfaceVersion);
}

void registerAll(Engine& engine, ParameterBlock&)
{
    for (std::uint32_t nBase : {88000u, 54000u, 84000u, 11000u})
        engine.registerModule(nBase, kInterfaceVersion);
}

void startRequest(Engine& engine, ParameterBlock& block)
{
    registerAll(engine, block);
    engine.runPhase(&block, phaseStart);
}

const PhaseCase kPhaseCases[] = {
    {"engine not initialised", 88010, [](Engine&, ParameterBlock&) {}, phaseStart, responseError, statusEngineNotInitialised},
    {"wrong major version", 88010,
     [](Engine& engine, ParameterBlock& block) {
         registerScale(engine, block);
         block.nMajorVersion = 19;
     },
     phaseStart, responseError, statusWrongVersion},
    {"wrong block size", 88010,
     [](Engine& engine, ParameterBlock& block) {
         registerScale(engine, block);
         block.nBlockSize = 2104;
     },
     phaseStart, responseError, statusWrongVersion},
    {"module not registered for the thread", 54010, &registerScale, phaseStart, responseError, statusModuleNotRegistered},
    {"start twice", 88010, &startRequest, phaseStart, responseError, statusRequestActive},
    {"execute without start", 88010, &registerScale, phaseExecute, responseError, statusNoRequestActive},
    {"continue without start", 88010, &registerScale, phaseContinue, responseError, statusNoRequestActive},
    {"finish without start", 88010, &registerScale, phaseFinish, responseError, statusNoRequestActive},
    {"unknown phase", 88010, &startRequest, 5, responseError, statusInvalidParameter},
    {"execute", 88010, &startRequest, phaseExecute, responseDone, statusOk},
    {"continue answers done", 88010, &startRequest, phaseContinue, responseDone, statusOk},
    {"module response passed on", 54010, &startRequest, phaseExecute, 7, statusOk},
    {"out of memory", 84010, &startRequest, phaseExecute, responseError, statusOutOfMemory},
    {"interrupted request", 11010,
     [](Engine& engine, ParameterBlock& block) {
         startRequest(engine, block);
         engine.runPhase(&block, phaseExecute);
     },
     phaseContinue, responseError, statusInterrupted},
};

}

TEST(Engine, PhaseStatuses)
{
    for (const PhaseCase& test : kPhaseCases) {
        SCOPED_TRACE(test.pszName);
        Engine engine = makeEngine();
        ParameterBlock block = makeBlock(test.nOpcode);
        test.arrange(engine, block);
        EXPECT_EQ(engine.runPhase(&block, test.nPhase), test.nResponse);
        EXPECT_EQ(block.nStatus, test.nStatus);
    }
}

TEST(Engine, NoParameterBlock)
{
    Engine engine = makeEngine();
    engine.registerModule(88000, kInterfaceVersion);
    EXPECT_EQ(engine.runPhase(nullptr, phaseStart), responseNoParameterBlock);
}

TEST(Engine, RegistrationStatuses)
{
    Engine engine = makeEngine();
    EXPECT_EQ(engine.registerModule(88000, kInterfaceVersion), statusOk);
    EXPECT_EQ(engine.registerModule(54123, kInterfaceVersion), statusOk) << "the index is the opcode / 1000";
    EXPECT_EQ(engine.registerModule(82000, kInterfaceVersion), statusModuleNotFound);
    EXPECT_EQ(engine.registerModule(88000, 21), statusModuleNotFound) << "imod8821 does not exist";
    EXPECT_EQ(engine.registerModule(10000, kInterfaceVersion), statusEntryPointMissing);
    EXPECT_EQ(engine.registerModule(4294967295u, kInterfaceVersion), statusModuleNotFound);
}

TEST(Engine, ModuleNames)
{
    EXPECT_EQ(Engine::formatModuleName(88, 20), "imod8820");
    EXPECT_EQ(Engine::formatModuleName(5, 20), "imod0520");
    EXPECT_EQ(Engine::formatModuleName(123, 20), "imod12320");
}

TEST(Engine, UseCountsPerThreadAndProcess)
{
    Engine engine = makeEngine();
    engine.registerModule(88000, kInterfaceVersion);
    engine.registerModule(88000, kInterfaceVersion);
    EXPECT_EQ(engine.getThreadUseCount(88), 2);
    EXPECT_EQ(engine.getProcessUseCount(88), 1);

    std::thread([&] {
        EXPECT_EQ(engine.getThreadUseCount(88), 0);
        engine.registerModule(88000, kInterfaceVersion);
        EXPECT_EQ(engine.getThreadUseCount(88), 1);
    }).join();
    EXPECT_EQ(engine.getProcessUseCount(88), 2);

    ParameterBlock block = makeBlock(88010);
    ASSERT_EQ(engine.runPhase(&block, phaseStart), responseDone);
    EXPECT_EQ(engine.getProcessUseCount(88), 3) << "a running request holds a use";
    EXPECT_EQ(engine.runPhase(&block, phaseExecute), responseDone);
    EXPECT_EQ(engine.runPhase(&block, phaseFinish), responseDone);
    EXPECT_EQ(engine.getProcessUseCount(88), 2);
    EXPECT_EQ(engine.runPhase(&block, phaseStart), responseDone) << "a finished block takes a new request";
}

// A caller whose requests come on any thread registers once for the process.
TEST(Engine, ProcessRegistrationServesEveryThread)
{
    Engine engine = makeEngine();
    EXPECT_EQ(engine.registerModuleForProcess(88000, kInterfaceVersion), statusOk);
    EXPECT_EQ(engine.registerModuleForProcess(88000, kInterfaceVersion), statusOk);
    EXPECT_EQ(engine.getProcessUseCount(88), 1) << "registered once";
    EXPECT_EQ(engine.registerModuleForProcess(82000, kInterfaceVersion), statusModuleNotFound);
    for (int i = 0; i < 3; ++i) {
        std::thread([&] {
            ParameterBlock block = makeBlock(88010);
            EXPECT_EQ(engine.runPhase(&block, phaseStart), responseDone);
            EXPECT_EQ(engine.runPhase(&block, phaseExecute), responseDone);
            EXPECT_EQ(engine.runPhase(&block, phaseFinish), responseDone);
        }).join();
    }
    ParameterBlock block = makeBlock(54010);
    EXPECT_EQ(engine.runPhase(&block, phaseStart), responseError);
    EXPECT_EQ(block.nStatus, statusModuleNotRegistered) << "only the registered module";
}

TEST(Engine, RequestBelongsToItsThread)
{
    Engine engine = makeEngine();
    engine.registerModule(88000, kInterfaceVersion);
    ParameterBlock block = makeBlock(88010);
    ASSERT_EQ(engine.runPhase(&block, phaseStart), responseDone);

    std::int32_t nResponse = 0;
    std::thread([&] {
        engine.registerModule(88000, kInterfaceVersion);
        nResponse = engine.runPhase(&block, phaseExecute);
    }).join();
    EXPECT_EQ(nResponse, responseError);
    EXPECT_EQ(block.nStatus, statusWrongThread);
    EXPECT_EQ(engine.runPhase(&block, phaseExecute), responseDone) << "the starting thread carries on";
}

TEST(Engine, InterruptedRequestIsMarkedAndCanBeFinished)
{
    Engine engine = makeEngine();
    engine.registerModule(11000, kInterfaceVersion);
    ParameterBlock block = makeBlock(11010);
    block.nFlags |= flagInterrupted | flagInterruptSeen;
    ASSERT_EQ(engine.runPhase(&block, phaseStart), responseDone);
    EXPECT_EQ(block.nFlags & (flagInterrupted | flagInterruptSeen), 0u) << "start clears both marks";

    EXPECT_EQ(engine.runPhase(&block, phaseExecute), responseError);
    EXPECT_EQ(engine.runPhase(&block, phaseFinish), responseError);
    EXPECT_EQ(block.nStatus, statusInterrupted);
    EXPECT_NE(block.nFlags & flagInterruptSeen, 0u);
    EXPECT_EQ(engine.getProcessUseCount(11), 1) << "finish released the request";
    EXPECT_EQ(engine.runPhase(&block, phaseExecute), responseError);
    EXPECT_EQ(block.nStatus, statusNoRequestActive);
}
