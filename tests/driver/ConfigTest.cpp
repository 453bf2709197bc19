// Configuration files beside the driver and what the driver makes of them.
#include "tests/driver/DriverProbe.h"
#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>
#include <string>

namespace velmo::driver::test {

namespace {

std::wstring wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string shortTempDirectory()
{
    char longPath[MAX_PATH] = {};
    char shortPath[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, longPath);
    GetShortPathNameA(longPath, shortPath, MAX_PATH);
    std::string path(shortPath);
    if (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string commonAppData()
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, CSIDL_COMMON_APPDATA, FALSE);
    return path;
}

struct ConfigCase {
    const char* pszName;
    std::string configText;  // "{dir}" stands for the case's directory
    std::function<void(const DriverProbe&, const std::string& directory)> check;
};

void replaceDirectory(std::string& text, const std::string& directory)
{
    for (std::size_t nAt = text.find("{dir}"); nAt != std::string::npos; nAt = text.find("{dir}"))
        text.replace(nAt, 5, directory);
}

const ConfigCase configCases[] = {
    {"no configuration file: every default", "",
     [](const DriverProbe& probe, const std::string&) {
         const DriverConfig& config = probe.config();
         EXPECT_EQ(config.append, 1);
         EXPECT_EQ(config.resolution, 200);
         EXPECT_EQ(config.landscape, 0);
         EXPECT_EQ(config.color, 0);
         EXPECT_EQ(config.monochrome, 1);
         EXPECT_EQ(config.drawScale, 0);
         EXPECT_EQ(config.jpegQuality, 1);
         EXPECT_EQ(config.threshold, 192);
         EXPECT_EQ(config.dither, 1);
         EXPECT_EQ(config.testPrint, 0);
         EXPECT_EQ(config.orientation, DMORIENT_PORTRAIT);
         EXPECT_EQ(std::wstring(config.driverInfo), L"Integrated Print Driver");
         EXPECT_EQ(std::wstring(config.seed), L"");
         EXPECT_EQ(std::wstring(config.outputDir), L"");
         EXPECT_EQ(probe.format().dpiX, 200);
         EXPECT_EQ(probe.format().letter.widthPx, 1700);
     }},
    {"every text key is read",
     "[printer]\nseed=fax\n[driver]\nname=Office Fax\ninfo=Fax driver\noutput={dir}\\out\n"
     "[client]\nargs= /send\n[renderer]\nuserId=svc\n"
     "[testPrint]\nenabled=1\noutputPdf=##DESKTOP##\\t.pdf\noutputImage=a.tif\noutputLog=b.log\n",
     [](const DriverProbe& probe, const std::string& directory) {
         const DriverConfig& config = probe.config();
         EXPECT_EQ(std::wstring(config.seed), L"fax");
         EXPECT_EQ(std::wstring(config.deviceName), L"Office Fax");
         EXPECT_EQ(std::wstring(config.driverInfo), L"Fax driver");
         EXPECT_EQ(std::wstring(config.outputDir), wide(directory + "\\out"));
         EXPECT_EQ(std::wstring(config.clientArgs), L"/send");  // the profile reader trims
         EXPECT_EQ(std::wstring(config.rendererUser), L"svc");
         EXPECT_EQ(config.testPrint, 1);
         EXPECT_EQ(std::wstring(config.testOutputPdf), L"##DESKTOP##\\t.pdf");
         EXPECT_EQ(std::wstring(config.testOutputImage), L"a.tif");
         EXPECT_EQ(std::wstring(config.testOutputLog), L"b.log");
         // The output folder is made at load.
         EXPECT_NE(GetFileAttributesA((directory + "\\out").c_str()), INVALID_FILE_ATTRIBUTES);
     }},
    {"resolution 250 is read as 200", "[options]\nresolution=250\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().resolution, 200);
         EXPECT_EQ(probe.format().dpiX, 200);
     }},
    {"resolution 300 draws at 300 dpi", "[options]\nresolution=300\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().resolution, 300);
         EXPECT_EQ(probe.format().dpiY, 300);
         EXPECT_EQ(probe.format().letter.widthPx, 2550);
         EXPECT_EQ(probe.format().letter.heightPx, 3300);
         EXPECT_EQ(probe.format().legal.heightMicrometres, 355600);
     }},
    {"drawScale 7 is read as 0", "[graphics]\ndrawScale=7\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().drawScale, 0);
         EXPECT_EQ(probe.format().dpiX, 200);
     }},
    {"drawScale -1 is read as 0", "[graphics]\ndrawScale=-1\n",
     [](const DriverProbe& probe, const std::string&) { EXPECT_EQ(probe.config().drawScale, 0); }},
    {"drawScale 5 draws at 600 dpi, output resolution unchanged", "[graphics]\ndrawScale=5\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().drawScale, 5);
         EXPECT_EQ(probe.config().resolution, 200);
         EXPECT_EQ(probe.format().dpiX, 600);
         EXPECT_EQ(probe.format().legal.heightPx, 8400);
         EXPECT_EQ(probe.format().legal.heightMicrometres, 355600);
     }},
    {"drawScale 4 with resolution 300 draws at 400 dpi", "[options]\nresolution=300\n[graphics]\ndrawScale=4\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().resolution, 300);
         EXPECT_EQ(probe.format().dpiX, 400);
         EXPECT_EQ(probe.format().letter.widthPx, 3400);
         EXPECT_EQ(probe.format().letter.widthMicrometres, 215900);
     }},
    {"quality 0 is read as 3", "[jpeg]\nquality=0\n",
     [](const DriverProbe& probe, const std::string&) { EXPECT_EQ(probe.config().jpegQuality, 3); }},
    {"quality 5 is read as 3", "[jpeg]\nquality=5\n",
     [](const DriverProbe& probe, const std::string&) { EXPECT_EQ(probe.config().jpegQuality, 3); }},
    {"quality 4 stays", "[jpeg]\nquality=4\n",
     [](const DriverProbe& probe, const std::string&) { EXPECT_EQ(probe.config().jpegQuality, 4); }},
    {"threshold 1 is raised to 3", "[binarize]\nthreshold=1\ndither=13\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().threshold, 3);
         EXPECT_EQ(probe.config().dither, 13);
     }},
    {"threshold 1000 stays, colour kept", "[binarize]\nthreshold=1000\n[options]\ncolor=1\nappend=0\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().threshold, 1000);
         EXPECT_EQ(probe.config().color, 1);
         EXPECT_EQ(probe.config().monochrome, 0);
         EXPECT_EQ(probe.config().append, 0);
     }},
    {"an integer that is not a number reads as 0", "[options]\nappend=yes\n",
     [](const DriverProbe& probe, const std::string&) { EXPECT_EQ(probe.config().append, 0); }},
    {"home token in lower case is expanded", "[client]\nhome=##cpf##\nmodule=fax.exe\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().clientHome), L"C:\\PROGRA~1");
         EXPECT_EQ(std::wstring(probe.config().clientPath), L"C:\\PROGRA~1\\fax.exe");
     }},
    {"home with text around a token is left alone", "[client]\nhome=D:\\##CPF##\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().clientHome), L"D:\\##CPF##");
     }},
    {"product home tokens", "[client]\nhome=##CPFFC##\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().clientHome), L"C:\\PROGRA~1\\PAGEDESK");
     }},
    {"product application-data home", "[client]\nhome=##CADFC##\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().clientHome), wide(commonAppData() + "\\PAGEDESK"));
     }},
    {"x86 program files home", "[client]\nhome=##CPFX86##\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().clientHome), L"C:\\PROGRA~2");
     }},
    {"module BIN runs the driver's own bin file", "[client]\nhome=C:\\X\nmodule=BIN\n",
     [](const DriverProbe& probe, const std::string&) {
         std::string binPath = probe.path();
         binPath.replace(binPath.size() - 3, 3, "bin");
         EXPECT_EQ(std::wstring(probe.config().clientPath), wide(binPath));
         EXPECT_EQ(std::wstring(probe.config().binPath), wide(binPath));
     }},
    {"output ##TEMP## is the short temporary folder", "[driver]\noutput=##temp##\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(std::wstring(probe.config().outputDir), wide(shortTempDirectory()));
     }},
    {"landscape in the configuration", "[options]\nlandscape=1\n",
     [](const DriverProbe& probe, const std::string&) {
         EXPECT_EQ(probe.config().landscape, 1);
         EXPECT_EQ(probe.config().orientation, DMORIENT_LANDSCAPE);
     }},
};

class ConfigTest : public ::testing::TestWithParam<ConfigCase> {};

TEST_P(ConfigTest, configurationFileGivesItsValues)
{
    util::test::ScratchDirectory directory;
    std::string configText = GetParam().configText;
    replaceDirectory(configText, directory.path());
    DriverProbe probe(directory.path(), "configured", configText);
    ASSERT_TRUE(probe.isLoaded());
    GetParam().check(probe, directory.path());
    EXPECT_EQ(std::wstring(probe.config().configPath), wide(directory.path() + "\\configured.cfg"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConfigTest, ::testing::ValuesIn(configCases),
                         [](const ::testing::TestParamInfo<ConfigCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

// The client can turn the orientation per user in its control file, read once at load.
TEST(ConfigControlFile, landscapeOfTheUserControlFileWins)
{
    util::test::ScratchDirectory directory;
    util::test::writeText(expectedJobFileName(directory.path(), "fax", "ini"), "[config]\nlandscape=1\n");
    DriverProbe probe(directory.path(), "controlled",
                      "[printer]\nseed=fax\n[driver]\noutput=" + directory.path() + "\n[options]\nlandscape=0\n");
    ASSERT_TRUE(probe.isLoaded());
    EXPECT_EQ(probe.config().landscape, 0);
    EXPECT_EQ(probe.config().orientation, DMORIENT_LANDSCAPE);
}

}

}
