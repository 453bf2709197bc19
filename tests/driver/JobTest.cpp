// Whole print jobs through the print host and the hosted driver: the page file, the job
// information file, the names handed off and the client program started after the job.
#include "tests/driver/DriverProbe.h"
#include "tests/driver/HostShell.h"
#include "tests/driver/PageDecoding.h"
#include "tests/driver/Pictures.h"
#include "tests/driver/PrintJob.h"
#include "tests/util/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <memory>
#include <regex>
#include <vector>

namespace velmo::driver::test {

namespace {

constexpr char printerName[] = "Korva-Test-Printer";  // the print host's device name, blanks as '-'

std::string computerName()
{
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD nLength = sizeof(name);
    GetComputerNameA(name, &nLength);
    return name;
}

// The information file must read exactly so, its time aside, which is 14 digits.
void expectInformationFile(const std::string& path, int nJobId, const std::string& printer, const std::string& document,
                           int nPages, int nPagesWritten = -1, int nStatus = 0)
{
    SCOPED_TRACE(path);
    const std::string text = util::test::readText(path);
    std::smatch submitted;
    ASSERT_TRUE(std::regex_search(text, submitted, std::regex("^\\[info\\]\r\nsubmitted=([0-9]{14})\r\n"))) << text;
    EXPECT_EQ(text,
        "[info]\r\nsubmitted=" + submitted[1].str() + "\r\nprintJobId=" + std::to_string(nJobId) +
            "\r\nprinterName=" + printer + "\r\nmachineName=" + computerName() +
            "\r\nuserName=" + expectedAccountName() + "\r\ndocument=" + document +
            "\r\ndataType=RAW\r\nstatus=" + std::to_string(nStatus) +
            "\r\npriority=0\r\nposition=0\r\ntotalPages=" + std::to_string(nPages) +
            "\r\npagesPrinted=" + std::to_string(nPagesWritten < 0 ? nPages : nPagesWritten) + "\r\n\r\n");
}

std::string commandLineOf(const std::string& clientPath, const std::string& pageFile, const std::string& extra = "")
{
    std::string commandLine = "command line: \"" + clientPath + "\" \"" + pageFile + "\"";
    return extra.empty() ? commandLine + "\n" : commandLine + " \"" + extra + "\"\n";
}

struct Resolution {
    int resolution;
    int drawScale;
    std::uint32_t width;
    std::uint32_t height;
    int pageResolution;
};

// The sample's text and grey-ramp pages hold few colours and become Group 4 pages even with
// colour allowed; its photograph stays in colour as JPEG. Pages drawn at a higher resolution
// come out at the configured one, whole quotient or not.
TEST(JobTest, threePagesInThePageFileAndTheClientStartedWithIt)
{
    const Resolution resolutions[] = {
        {200, 0, 1700, 2200, 200}, {300, 0, 2550, 3300, 300}, {200, 2, 1700, 2200, 200}, {300, 4, 2550, 3300, 300}};
    for (const Resolution& resolution : resolutions) {
        SCOPED_TRACE(
            testing::Message() << "resolution " << resolution.resolution << ", drawScale " << resolution.drawScale);
        JobSettings settings;
        settings.color = 1;
        settings.resolution = resolution.resolution;
        settings.drawScale = resolution.drawScale;
        settings.clientArgs = "\"  /send\t\"";
        JobDirectory job(settings);
        ASSERT_EQ(job.print(), 0u);

        const std::vector<TiffPage> pages = readTiffPages(job.jobFile("TIF"));
        ASSERT_EQ(pages.size(), 3u);
        const std::uint32_t compressions[] = {4, 4, 6};
        for (std::size_t i = 0; i < pages.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "page " << i + 1);
            EXPECT_EQ(pages[i].compression, compressions[i]);
            EXPECT_EQ(pages[i].width, resolution.width);
            EXPECT_EQ(pages[i].height, resolution.height);
            EXPECT_EQ(pages[i].xResolution, resolution.pageResolution);
            EXPECT_EQ(pages[i].yResolution, resolution.pageResolution);
        }
        expectInformationFile(job.jobFile("LOG"), 17, printerName, "Report.doc", 3);
        EXPECT_NE(
            job.clientLog(1).find(commandLineOf(job.clientPath(), job.jobFile("TIF"), "/send")), std::string::npos)
            << job.clientLog(1);
    }
}

// libtiff reads the page file as the driver meant it.
TEST(JobTest, libtiffReadsThePageFile)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    JobSettings settings;
    settings.color = 1;
    JobDirectory job(settings);
    ASSERT_EQ(job.print(), 0u);
    std::string output;
    const std::optional<int> status =
        HostShell::run("tiffinfo " + shellQuoted(HostShell::hostPath(job.jobFile("TIF"))), job.path(), output);
    ASSERT_TRUE(status.has_value());
    ASSERT_EQ(*status, 0) << output;
    const std::regex compression("Compression Scheme: ([^\n]*)");
    std::vector<std::string> schemes;
    for (std::sregex_iterator it(output.begin(), output.end(), compression), end; it != end; ++it)
        schemes.push_back((*it)[1].str());
    EXPECT_EQ(schemes, (std::vector<std::string> {"CCITT Group 4", "CCITT Group 4", "Old-style JPEG"})) << output;
}

TEST(JobTest, appendCollectsJobsInOnePlainFile)
{
    JobDirectory job(JobSettings {});
    ASSERT_EQ(job.print(), 0u);
    ASSERT_EQ(JobDirectory::entries(job.clientLog(1)), 1u);
    ASSERT_EQ(job.print("--sample", 18), 0u);
    EXPECT_EQ(readTiffPages(job.jobFile("TIF")).size(), 6u);
    expectInformationFile(job.jobFile("LOG"), 18, printerName, "Report.doc", 3);
    const std::string log = job.clientLog(2);
    EXPECT_EQ(JobDirectory::entries(log), 2u) << log;
    // Without an extra argument the page file is the only one.
    const std::string commandLine = commandLineOf(job.clientPath(), job.jobFile("TIF"));
    ASSERT_NE(log.find(commandLine), std::string::npos) << log;
    EXPECT_NE(log.find(commandLine), log.rfind(commandLine)) << log;
    EXPECT_EQ(filesIn(job.outputDir(), "*.*").size(), 2u);
}

// seed-account-session-time-tag.TIF and .LOG, with a 14-digit time and a 12-digit tag.
const std::regex uniqueName("fax-[^-]+-[0-9]+-([0-9]{14})-([0-9A-F]{12})\\.(TIF|LOG)");

TEST(JobTest, withoutAppendEveryJobGetsUniqueNames)
{
    JobSettings settings;
    settings.append = 0;
    JobDirectory job(settings);
    ASSERT_EQ(job.print(), 0u);
    const std::vector<std::string> files = filesIn(job.outputDir(), "*.*");
    ASSERT_EQ(files.size(), 2u);
    std::smatch page;
    std::smatch information;
    ASSERT_TRUE(std::regex_match(files[1], page, uniqueName)) << files[1];
    ASSERT_TRUE(std::regex_match(files[0], information, uniqueName)) << files[0];
    EXPECT_EQ(files[0].substr(0, files[0].size() - 4), files[1].substr(0, files[1].size() - 4));
    EXPECT_EQ(page[3].str(), "TIF");
    const std::string plainName = job.jobFile("TIF").substr(job.outputDir().size() + 1);
    EXPECT_EQ(files[1].rfind(plainName.substr(0, plainName.size() - 4) + "-", 0), 0u) << files[1];

    const std::string pageFile = job.outputDir() + "\\" + files[1];
    EXPECT_EQ(readTiffPages(pageFile).size(), 3u);
    expectInformationFile(job.outputDir() + "\\" + files[0], 17, printerName, "Report.doc", 3);
    EXPECT_NE(job.clientLog(1).find(commandLineOf(job.clientPath(), pageFile)), std::string::npos) << job.clientLog(1);
}

using StartDoc = BOOL(APIENTRY*)(SURFOBJ*, LPWSTR, DWORD);
using EndDoc = BOOL(APIENTRY*)(SURFOBJ*, FLONG);

// A job without pages is no fax: the information file tells about it, under the plain name,
// and no client is started with a page file that does not exist. Its document name carries
// line breaks that must not become keys of the information file, and is longer than the
// driver keeps.
TEST(JobTest, jobWithoutPagesIsNotHandedOff)
{
    JobSettings settings;
    settings.append = 0;
    JobDirectory job(settings);
    util::test::ScratchDirectory drivers;
    DriverProbe probe(drivers.path(), "nopages", util::test::readText(job.path() + "\\job.cfg"));
    ProbeDevice device(probe, nullptr);
    SURFOBJ* pSurface = device.enableSurface();
    std::wstring documentName = L"Memo\r\n[forged]\tstatus=9\x7F" + std::wstring(600, L'x');
    EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(pSurface, documentName.data(), 9));
    EXPECT_TRUE(probe.ddi<EndDoc>(INDEX_DrvEndDoc)(pSurface, 0));

    EXPECT_EQ(filesIn(job.outputDir(), "*.*").size(), 1u);
    const std::string document = "Memo  [forged] status=9 " + std::string(511 - 24, 'x');
    expectInformationFile(job.jobFile("LOG"), 9, "", document, 0);
    Sleep(2000);
    EXPECT_FALSE(exists(job.clientDir() + "\\korvaclient.log"));
}

// The control file's ui 0, the rendering account and the system account start no client and
// leave the job files under their plain names, even without append.
TEST(JobTest, noHandOffLeavesPlainNames)
{
    enum class Case { uiZero, rendererUser, systemAccount };
    std::vector<std::unique_ptr<JobDirectory>> jobs;
    for (Case kind : {Case::uiZero, Case::rendererUser, Case::systemAccount}) {
        SCOPED_TRACE(testing::Message() << "case " << static_cast<int>(kind));
        JobSettings settings;
        settings.append = 0;
        if (kind == Case::rendererUser)
            settings.rendererUser = expectedAccountName().substr(0, 2);
        jobs.push_back(std::make_unique<JobDirectory>(settings));
        const JobDirectory& job = *jobs.back();
        std::string account = expectedAccountName();
        if (kind == Case::uiZero)
            util::test::writeText(job.jobFile("INI"), "[config]\nui=0\n");
        if (kind == Case::systemAccount) {
            if (!HostShell::isAvailable())
                continue;
            // Wine takes the account name from the host's environment.
            account = "localsystem";
            std::string output;
            const std::optional<int> status = HostShell::run(
                "USER=LocalSystem LOGNAME=LocalSystem \"$(command -v wine64 || echo /usr/lib/wine/wine64)\" " +
                    shellQuoted(HostShell::hostPath(binDirectory() + "\\korvaprint.exe")) + " --driver " +
                    shellQuoted(job.driverPath()) + " --sample",
                job.path(), output);
            ASSERT_TRUE(status.has_value());
            ASSERT_EQ(*status, 0) << output;
        } else {
            ASSERT_EQ(job.print(), 0u);
        }
        auto plainName = [&](const std::string& extension) {
            std::string name = job.jobFile(extension);
            return name.replace(
                name.rfind("-" + expectedAccountName() + "-"), expectedAccountName().size() + 2, "-" + account + "-");
        };
        EXPECT_EQ(filesIn(job.outputDir(), "*.*").size(), kind == Case::uiZero ? 3u : 2u);
        EXPECT_TRUE(exists(plainName("LOG"))) << plainName("LOG");
        EXPECT_EQ(readTiffPages(plainName("TIF")).size(), 3u) << plainName("TIF");
    }
    // A client started by any of the jobs has logged by now.
    Sleep(3000);
    for (const auto& job : jobs)
        EXPECT_FALSE(exists(job->clientDir() + "\\korvaclient.log"));
}

std::string desktopFolder()
{
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, 0, folder);
    return folder;
}

std::string temporaryDirectory()
{
    char folder[MAX_PATH] = {};
    const DWORD nLength = GetTempPathA(MAX_PATH, folder);
    return std::string(folder, nLength > 0 ? nLength - 1 : 0);
}

// Test-print mode leaves a PDF, the TIFF and the information file at the targets, with the
// location tokens replaced, removes the job files and starts no client.
TEST(JobTest, testPrintLeavesCopiesAndRemovesTheJobFiles)
{
    const std::string name = "korva-job-" + std::to_string(GetCurrentProcessId());
    util::test::ScratchDirectory targets(temporaryDirectory());
    const std::string targetFolder = targets.path().substr(temporaryDirectory().size() + 1);
    JobSettings settings;
    settings.append = 0;
    settings.color = 1;
    settings.testPdf = " ##DESKTOP##\\" + name + ".pdf";
    settings.testImage = "##TEMP##\\" + targetFolder + "\\page.tif ";
    settings.testLog = "##TEMP##\\" + targetFolder + "\\job.log";
    JobDirectory job(settings);
    ASSERT_EQ(job.print(), 0u);

    const std::string pdf = desktopFolder() + "\\" + name + ".pdf";
    const std::string pdfText = util::test::readText(pdf);
    DeleteFileA(pdf.c_str());
    EXPECT_EQ(pdfText.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdfText.find("%%EOF", pdfText.size() > 8 ? pdfText.size() - 8 : 0), std::string::npos);
    EXPECT_EQ(readTiffPages(targets / "page.tif").size(), 3u);
    expectInformationFile(targets / "job.log", 17, printerName, "Report.doc", 3);
    EXPECT_TRUE(filesIn(job.outputDir(), "*.*").empty());

    // qpdf decodes every stream, the JPEG of the colour page included; poppler renders the pages.
    if (HostShell::isAvailable()) {
        util::test::writeText(targets / "copy.pdf", pdfText);
        std::string output;
        const std::optional<int> status = HostShell::run(
            "echo qpdf: $(qpdf --check copy.pdf >qpdf.txt 2>&1; echo $?); cat qpdf.txt; pdftoppm -r 20 copy.pdf page; "
            "echo rendered: $(ls page*.ppm | wc -l)",
            targets.path(), output);
        ASSERT_TRUE(status.has_value());
        EXPECT_NE(output.find("qpdf: 0\n"), std::string::npos) << output;
        EXPECT_NE(output.find("No syntax or stream encoding errors"), std::string::npos) << output;
        EXPECT_NE(output.find("rendered: 3\n"), std::string::npos) << output;
    }
    Sleep(1000);
    EXPECT_FALSE(exists(job.clientDir() + "\\korvaclient.log"));
}

TEST(JobTest, testPrintSkipsTargetsInMissingDirectories)
{
    util::test::ScratchDirectory targets;
    JobSettings settings;
    settings.testPdf = targets / "missing\\job.pdf";
    settings.testImage = targets / "missing\\page.tif";
    settings.testLog = "job.log";
    JobDirectory job(settings);
    ASSERT_EQ(job.print(), 0u);
    EXPECT_FALSE(exists(targets / "missing"));
    EXPECT_TRUE(filesIn(targets.path(), "*.*").empty());
    EXPECT_TRUE(filesIn(job.outputDir(), "*.*").empty());
}

// Without pages there is no page file to make a PDF of: no empty or half-written PDF stays
// at the target, while the information file is still copied.
TEST(JobTest, testPrintOfAJobWithoutPagesLeavesNoBrokenPdf)
{
    util::test::ScratchDirectory targets;
    JobSettings settings;
    settings.testPdf = targets / "job.pdf";
    settings.testImage = targets / "page.tif";
    settings.testLog = targets / "job.log";
    JobDirectory job(settings);
    util::test::ScratchDirectory drivers;
    DriverProbe probe(drivers.path(), "nopages", util::test::readText(job.path() + "\\job.cfg"));
    ProbeDevice device(probe, nullptr);
    SURFOBJ* pSurface = device.enableSurface();
    wchar_t documentName[] = L"Empty";
    EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(pSurface, documentName, 4));
    EXPECT_TRUE(probe.ddi<EndDoc>(INDEX_DrvEndDoc)(pSurface, 0));
    EXPECT_EQ(filesIn(targets.path(), "*.*"), std::vector<std::string>{"job.log"});
    expectInformationFile(targets / "job.log", 4, "", "Empty", 0);
    EXPECT_TRUE(filesIn(job.outputDir(), "*.*").empty());
}

// A client names the page file of one document in a control file named after the document;
// every page of that document goes there, and the control file is used up.
TEST(JobTest, documentControlFileRedirectsItsDocument)
{
    JobDirectory job(JobSettings {});
    const std::string redirected = job.path() + "\\redirected.tif";
    const std::string controlFile = job.outputDir() + "\\ZABCDEF123456.CFG";
    util::test::writeText(controlFile, "[config]\r\noutput=" + redirected + "\r\n");
    ASSERT_EQ(job.print("--sample", 17, "C:\\inbox\\Zabcdef123456.pdf"), 0u);
    EXPECT_EQ(readTiffPages(redirected).size(), 3u);
    EXPECT_FALSE(exists(controlFile));
    EXPECT_FALSE(exists(job.jobFile("TIF")));

    // The next document has no control file of its own; the one after names no page file,
    // so its pages stay with the user's page file too.
    ASSERT_EQ(job.print("--sample", 18, "C:\\inbox\\Zabcdef123457.pdf"), 0u);
    const std::string emptyControlFile = job.outputDir() + "\\ZABCDEF123458.CFG";
    util::test::writeText(emptyControlFile, "[config]\r\noutput=\r\n");
    ASSERT_EQ(job.print("--sample", 19, "zabcdef123458.PDF"), 0u);
    EXPECT_EQ(readTiffPages(redirected).size(), 3u);
    EXPECT_EQ(readTiffPages(job.jobFile("TIF")).size(), 6u);
    EXPECT_FALSE(exists(emptyControlFile));
}

// Failures are told, not passed off as success: the application learns of them (the print
// host's exit status), the pages already in the page file stay, the pages of the job are
// kept where they can be, and the information file says what happened.
TEST(JobFailureTest, pageFileHeldByAnotherProgramFailsTheJobAndKeepsItsPages)
{
    JobDirectory job(JobSettings {});
    ASSERT_EQ(job.print(), 0u);
    ASSERT_EQ(readTiffPages(job.jobFile("TIF")).size(), 3u);
    const std::string before = util::test::readText(job.jobFile("TIF"));

    // Another program has the page file open and shares it with nobody.
    HANDLE hHeld = CreateFileA(job.jobFile("TIF").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    EXPECT_NE(job.print("--sample", 18), 0u);
    CloseHandle(hHeld);

    EXPECT_EQ(util::test::readText(job.jobFile("TIF")), before);
    expectInformationFile(job.jobFile("LOG"), 18, printerName, "Report.doc", 3, 0, 1);
    const std::vector<std::string> kept = filesIn(job.outputDir(), "*.job");
    ASSERT_EQ(kept.size(), 1u) << "the job's pages stay in its own file";
    EXPECT_EQ(readTiffPages(job.outputDir() + "\\" + kept[0]).size(), 3u);
}

// A job the application cancelled is no fax: its pages are dropped and nothing is handed on.
TEST(JobFailureTest, cancelledJobIsNotHandedOff)
{
    JobDirectory job(JobSettings {});
    util::test::ScratchDirectory drivers;
    DriverProbe probe(drivers.path(), "cancelled", util::test::readText(job.path() + "\\job.cfg"));
    ProbeDevice device(probe, nullptr);
    SURFOBJ* pSurface = device.enableSurface();
    wchar_t documentName[] = L"Draft";
    EXPECT_TRUE(probe.ddi<StartDoc>(INDEX_DrvStartDoc)(pSurface, documentName, 6));
    EXPECT_TRUE(probe.ddi<BOOL(APIENTRY*)(SURFOBJ*)>(INDEX_DrvSendPage)(pSurface));
    EXPECT_TRUE(probe.ddi<EndDoc>(INDEX_DrvEndDoc)(pSurface, ED_ABORTDOC));
    expectInformationFile(job.jobFile("LOG"), 6, "", "Draft", 1, 0, 2);
    EXPECT_FALSE(exists(job.jobFile("TIF")));
    Sleep(2000);
    EXPECT_FALSE(exists(job.clientDir() + "\\korvaclient.log"));
}

// A small file system of the host's, mounted in a folder for one test: the way to make a
// disk fill up in the middle of a write. Unavailable where the host lets no one mount.
class FullDisk {
public:
    // The folder is made in parent, where the commands keep their own files.
    FullDisk(const std::string& parent, const std::string& name, const char* pszSize)
        : m_parent(parent), m_folder(HostShell::hostPath(parent + "\\" + name))
    {
        CreateDirectoryA((parent + "\\" + name).c_str(), nullptr);
        const std::optional<int> status = HostShell::run(
            "mount -t tmpfs -o size=" + std::string(pszSize) + " korva-full " + shellQuoted(m_folder), parent, m_output);
        m_bMounted = status.value_or(-1) == 0;
    }
    ~FullDisk()
    {
        std::string output;
        if (m_bMounted)
            HostShell::run("umount -l " + shellQuoted(m_folder), m_parent, output);
    }
    bool isMounted() const { return m_bMounted; }
    const std::string& output() const { return m_output; }

private:
    std::string m_parent;
    std::string m_folder;
    std::string m_output;
    bool m_bMounted = false;
};

// The disk fills up while a page is written: that page fails, the pages before it stay in
// the page file, and the information file says that one of three pages is missing.
TEST(JobFailureTest, diskFullInAPageFailsThatPageOnly)
{
    if (!HostShell::isAvailable())
        GTEST_SKIP() << "needs the Linux host beneath Wine";
    JobSettings settings;
    settings.color = 1;
    JobDirectory job(settings);
    // Room for two small black-and-white pages, not for a colour page.
    const FullDisk disk(job.path(), "small", "96k");
    if (!disk.isMounted())
        GTEST_SKIP() << "cannot mount a small file system here: " << disk.output();
    util::test::writeText(job.jobFile("INI"), "[config]\noutput=" + job / "small\\pages.tif" + "\n");
    std::string pages;
    const tools::RgbImage pictures[] = {numberedPicture(1), numberedPicture(2), photograph(1700, 2200)};
    for (std::size_t i = 0; i < std::size(pictures); ++i) {
        const std::string path = job / ("picture-" + std::to_string(i + 1) + ".ppm");
        ASSERT_TRUE(tools::writePpmFile(path, pictures[i]));
        pages += " \"" + path + "\"";
    }
    EXPECT_NE(job.print(pages), 0u);

    std::vector<int> numbers;
    for (const tools::RgbImage& page : decodeTiffPages(job / "small\\pages.tif"))
        numbers.push_back(numberOnPage(page));
    EXPECT_EQ(numbers, (std::vector<int>{1, 2}));
    expectInformationFile(job.jobFile("LOG"), 17, printerName, "Report.doc", 3, 2, 1);
    EXPECT_TRUE(filesIn(job / "small", "*.job").empty());
}

// Pages the driver cannot write fail at once; the job ends without a fax for the client.
TEST(JobFailureTest, unwritablePageFileFailsThePage)
{
    JobSettings settings;
    settings.append = 0;
    JobDirectory job(settings);
    // A folder that cannot be made: a file stands where it would be.
    util::test::writeText(job.jobFile("INI"), "[config]\noutput=" + job.path() + "\\job.cfg\\pages.tif\n");
    EXPECT_NE(job.print(), 0u);
    // The print host stops at the first failed page, as an application stops printing.
    expectInformationFile(job.jobFile("LOG"), 17, printerName, "Report.doc", 1, 0, 1);
    Sleep(2000);
    EXPECT_FALSE(exists(job.clientDir() + "\\korvaclient.log"));
}

}

}
