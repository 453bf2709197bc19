#include "driver/TestPrint.h"

#include "driver/DriverConfig.h"
#include "lib/graphics.Conversion.h"
#include "util/Files.h"
#include "util/Locations.h"
#include "util/PathTokens.h"
#include "util/Text.h"

#include <functional>

namespace velmo::driver {

namespace {

constexpr char programFilesShortPath[] = "C:\\PROGRA~1";

void replaceFirst(std::string& text, std::string_view token, std::string_view replacement)
{
    const std::size_t nAt = text.find(token);
    if (nAt != std::string::npos)
        text.replace(nAt, token.size(), replacement);
}

using CopyAction = std::function<void(const std::string& target)>;

void copyToTarget(const wchar_t* pwszTarget, const std::string& temporaryDirectory, const std::string& desktopFolder,
                  const CopyAction& copy)
{
    const std::string target = expandTestPrintTarget(util::text::narrow(pwszTarget), temporaryDirectory, desktopFolder);
    const std::size_t nSlash = target.find_last_of('\\');
    if (target.empty() || nSlash == std::string::npos || !util::directoryExists(target.substr(0, nSlash)))
        return;
    util::deleteFileRetry(target);
    copy(target);
}

}

std::string expandTestPrintTarget(std::string_view target, const std::string& temporaryDirectory,
                                  const std::string& desktopFolder)
{
    std::string expanded = util::text::trim(target);
    replaceFirst(expanded, util::token::temp, temporaryDirectory);
    replaceFirst(expanded, util::token::userTemp, temporaryDirectory);
    replaceFirst(expanded, util::token::userDesktop, desktopFolder);
    replaceFirst(expanded, util::token::desktop, desktopFolder);
    replaceFirst(expanded, util::token::programFiles, programFilesShortPath);
    return expanded;
}

void copyTestPrintResults(const std::string& pageFile, const std::string& informationFile)
{
    const DriverConfig& config = driverConfig();
    const std::string temporaryDirectory = util::userTempDirectory();
    const std::string desktopFolder = util::desktopFolder();
    copyToTarget(config.testOutputPdf, temporaryDirectory, desktopFolder, [&](const std::string& target) {
        // A failed conversion leaves no half-written PDF that looks like a result.
        if (lib::graphics::convertToPdf(pageFile.c_str(), nullptr, target.c_str(), "", "", "", 0, 0, 1.0) != 0)
            util::deleteFileRetry(target);
    });
    copyToTarget(config.testOutputImage, temporaryDirectory, desktopFolder, [&](const std::string& target) {
        util::copyFileIfChanged(pageFile, target, false, true);
    });
    copyToTarget(config.testOutputLog, temporaryDirectory, desktopFolder, [&](const std::string& target) {
        util::copyFileIfChanged(informationFile, target, false, true);
    });
}

}
