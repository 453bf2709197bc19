// The stand-in client records what it was started with.
#include "tests/driver/DriverProbe.h"
#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace velmo::driver::test {

namespace {

TEST(TestClientTest, recordsCommandLineAndFiles)
{
    util::test::ScratchDirectory directory;
    const std::string client = directory / "korvaclient.exe";
    ASSERT_TRUE(CopyFileA((binDirectory() + "\\korvaclient.exe").c_str(), client.c_str(), FALSE));
    util::test::writeText(directory / "page file.TIF", "II*\0");
    std::string commandLine = "\"" + client + "\" \"" + directory / "page file.TIF" + "\" \"/send\"";
    ASSERT_EQ(runProgram(commandLine), 0u);

    const std::string log = util::test::readText(directory / "korvaclient.log");
    EXPECT_NE(log.find("command line: " + commandLine), std::string::npos) << log;
    EXPECT_NE(log.find("argument 1: " + directory / "page file.TIF" + ": size 3, first bytes 49 49 2A"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("argument 2: /send: not a file"), std::string::npos) << log;
}

}

}
