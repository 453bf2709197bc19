// korvaprint: runs one print job through a printer driver's DDI, as the graphics engine and
// the spooler do, and prints one line per step.
#include "tools/printhost/DrawnPage.h"
#include "tools/printhost/PageCanvas.h"
#include "tools/printhost/PrinterLookup.h"
#include "tools/printhost/SampleDocument.h"

#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <string>
#include <vector>

using namespace velmo::tools;
using namespace velmo::tools::printhost;

namespace {

constexpr char usage[] =
    "usage: korvaprint --driver PATH | --printer NAME [--paper letter|legal]\n"
    "                  [--orientation portrait|landscape] [--job ID] [--document NAME]\n"
    "                  [--keep-pages DIR] [--sample | IMAGE...]\n"
    "Runs one print job through the driver; each IMAGE (PPM, PGM, PBM or BMP) is one page.\n"
    "--keep-pages writes each page as drawn, before the driver sends it, to DIR\\page-N.ppm.\n";

struct Options {
    std::wstring driverPath;
    std::wstring printerName;
    JobSettings job;
    bool bSample = false;
    std::vector<std::wstring> images;
    std::wstring keepFolder;
};

std::string narrow(const std::wstring& text)
{
    const int nLength = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(nLength > 0 ? nLength - 1 : 0, '\0');
    if (nLength > 1)
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, result.data(), nLength, nullptr, nullptr);
    return result;
}

struct Choice {
    const wchar_t* pszName;
    short nValue;
};

// The value of the named choice; false when the text names none of them.
bool choose(const std::wstring& text, std::initializer_list<Choice> choices, short& nValue)
{
    for (const Choice& choice : choices) {
        if (text == choice.pszName) {
            nValue = choice.nValue;
            return true;
        }
    }
    return false;
}

bool parseOptions(int nArgs, wchar_t** ppszArgs, Options& options, std::string& error)
{
    for (int i = 1; i < nArgs; ++i) {
        const std::wstring option = ppszArgs[i];
        const bool bHasValue = i + 1 < nArgs;
        auto value = [&]() { return std::wstring(ppszArgs[++i]); };
        if (option == L"--sample") {
            options.bSample = true;
        } else if (option.rfind(L"--", 0) != 0) {
            options.images.push_back(option);
        } else if (!bHasValue) {
            error = "missing value after " + narrow(option);
            return false;
        } else if (option == L"--driver") {
            options.driverPath = value();
        } else if (option == L"--printer") {
            options.printerName = value();
            options.job.deviceName = options.printerName;
        } else if (option == L"--paper") {
            if (!choose(value(), {{L"letter", DMPAPER_LETTER}, {L"legal", DMPAPER_LEGAL}}, options.job.paperSize)) {
                error = "paper must be letter or legal";
                return false;
            }
        } else if (option == L"--orientation") {
            if (!choose(value(), {{L"portrait", DMORIENT_PORTRAIT}, {L"landscape", DMORIENT_LANDSCAPE}},
                        options.job.orientation)) {
                error = "orientation must be portrait or landscape";
                return false;
            }
        } else if (option == L"--job") {
            wchar_t* pszEnd = nullptr;
            const std::wstring id = value();
            options.job.jobId = std::wcstoul(id.c_str(), &pszEnd, 10);
            if (id.empty() || *pszEnd != L'\0') {
                error = "job ID must be a number";
                return false;
            }
        } else if (option == L"--document") {
            options.job.documentName = value();
        } else if (option == L"--keep-pages") {
            options.keepFolder = value();
        } else {
            error = "unknown option " + narrow(option);
            return false;
        }
    }
    if (options.driverPath.empty() == options.printerName.empty()) {
        error = "give either --driver or --printer";
        return false;
    }
    if (options.bSample == !options.images.empty()) {
        error = "give either --sample or images";
        return false;
    }
    return true;
}

// The page as drawn, before the driver sees it as finished: what its output is judged by.
bool keepDrawnPage(DriverSession& session, const std::wstring& folder, std::size_t nPage)
{
    const std::string path = narrow(folder) + "\\page-" + std::to_string(nPage + 1) + ".ppm";
    return session.report("keep page", writePpmFile(path, pixelsOf(*session.surface())), path);
}

bool printPage(DriverSession& session, const Options& options, std::size_t nPage)
{
    if (!session.startPage())
        return false;
    PageCanvas canvas(session);
    bool bDrawn = false;
    if (options.bSample) {
        bDrawn = drawSamplePage(canvas, static_cast<int>(nPage));
    } else {
        std::string error;
        const RgbImage image = readImageFile(narrow(options.images[nPage]), error);
        bDrawn = session.report("read image", image.width > 0, image.width > 0 ? narrow(options.images[nPage]) : error) &&
                 canvas.blitImage(image);
    }
    bDrawn = canvas.reportCalls() && bDrawn;
    if (!options.keepFolder.empty())
        bDrawn = keepDrawnPage(session, options.keepFolder, nPage) && bDrawn;
    return session.sendPage() && bDrawn;
}

int runJob(const Options& options)
{
    std::wstring driverPath = options.driverPath;
    DriverSession session(stdout);
    if (driverPath.empty()) {
        std::string error;
        driverPath = findPrinterDriverFile(options.printerName, error);
        if (!session.report("find driver", !driverPath.empty(), driverPath.empty() ? error : narrow(driverPath)))
            return 1;
    }
    if (!session.loadDriver(driverPath) || !session.enableDevice(options.job))
        return 1;
    if (!session.startDoc(options.job))
        return 1;
    const std::size_t nPages = options.bSample ? samplePageCount : options.images.size();
    bool bAllPrinted = true;
    for (std::size_t nPage = 0; nPage < nPages && bAllPrinted; ++nPage)
        bAllPrinted = printPage(session, options, nPage);
    // A job that failed half-way is still ended, as the engine ends an aborted document.
    const bool bEnded = session.endDoc();
    session.close();
    return bAllPrinted && bEnded ? 0 : 1;
}

}

int wmain(int nArgs, wchar_t** ppszArgs)
{
    Options options;
    std::string error;
    if (!parseOptions(nArgs, ppszArgs, options, error)) {
        std::fprintf(stderr, "korvaprint: %s\n%s", error.c_str(), usage);
        return 2;
    }
    return runJob(options);
}
