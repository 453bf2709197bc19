// Appending pages to a page file, judged by libtiff: a process killed at any moment of an
// append leaves a file libtiff reads, holding the pages appended before, and the next
// append goes on from it; a chain end that a crash or a truncated copy spoiled is cut at
// its last whole directory; a failed append leaves the file as it was; and a file stops
// short of 4 GB, where TIFF offsets end.
#include "lib/BilevelPage.h"
#include "lib/graphics.Conversion.h"
#include "lib/graphics.TiffUtil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmo::tests;
using velmo::lib::graphics::convertToTiff;
using velmo::lib::graphics::kConvertToTiffLibraryError;
using velmo::lib::graphics::TiffUtil;

namespace {

// Page k: a fax-wide page whose top rows spell k in 16 bits (a band of 32 columns a bit)
// above a fixed speckle that codes to some 14 KB, so that an append takes several writes
// and a kill can fall between any two of them. Every page differs from every other.
BilevelPage makeNumberedPage(int k)
{
    BilevelPage page(1728, 64);
    for (std::int32_t y = 0; y < page.nHeight; ++y) {
        for (std::int32_t x = 0; x < page.nWidth; ++x) {
            std::uint32_t nSpeckle = (static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u) >> 13;
            const int nBit = x / 32;
            page.setBlack(x, y, y < 8 ? nBit < 16 && (k >> nBit) & 1 : nSpeckle % 7 == 0);
        }
    }
    return page;
}

const BilevelPage& numberedPage(int k)
{
    static std::map<int, BilevelPage> pages;
    auto found = pages.find(k);
    return found != pages.end() ? found->second : pages.emplace(k, makeNumberedPage(k)).first->second;
}

// Appends page k to output, recoded to Group 4 or copied as it is, in turn.
std::int32_t appendPage(const std::string& output, int k, const std::string& source, velmo::core::String* pReport = nullptr)
{
    writeTiff(source, uncompressedOf(numberedPage(k)));
    return convertToTiff(source.c_str(), "", output.c_str(), 0, 0, 0, 0, k % 2 ? 4 : 0, 0, 0, pReport);
}

[[noreturn]] void appendUntilKilled(const std::string& output, int nFirst, const std::string& source)
{
    for (int k = nFirst;; ++k) {
        if (appendPage(output, k, source) != 0)
            _exit(1);
    }
}

#if defined(__linux__) && defined(__x86_64__)
// Runs work in a child process and kills it as it enters its nWrite-th write system call
// (counting from 1), so that it dies with exactly the writes before in its files. False
// when the work ended first.
bool killBeforeWrite(int nWrite, const std::function<int()>& work)
{
    pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        _exit(work());
    }
    int nStatus = 0;
    waitpid(child, &nStatus, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    bool bEntering = true;
    int nWrites = 0;
    int nSignal = 0;
    for (;;) {
        ptrace(PTRACE_SYSCALL, child, nullptr, nSignal);
        waitpid(child, &nStatus, 0);
        nSignal = 0;
        if (WIFEXITED(nStatus) || WIFSIGNALED(nStatus)) {
            EXPECT_TRUE(WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0) << "the work failed by itself";
            return false;
        }
        if (WSTOPSIG(nStatus) != (SIGTRAP | 0x80)) {
            nSignal = WSTOPSIG(nStatus);
            continue;
        }
        // Syscall stops come in pairs, on the way in and on the way out.
        const bool bEntry = bEntering;
        bEntering = !bEntering;
        user_regs_struct registers;
        ptrace(PTRACE_GETREGS, child, nullptr, &registers);
        const auto nCall = registers.orig_rax;
        const bool bWrite = nCall == SYS_write || nCall == SYS_pwrite64 || nCall == SYS_writev || nCall == SYS_pwritev;
        if (bEntry && bWrite && ++nWrites == nWrite) {
            kill(child, SIGKILL);
            waitpid(child, &nStatus, 0);
            return true;
        }
    }
}
#endif

std::uint32_t numberAt(const std::vector<unsigned char>& file, std::size_t nAt, int nBytes)
{
    std::uint32_t nValue = 0;
    for (int i = nBytes - 1; i >= 0; --i)
        nValue = nValue << 8 | file.at(nAt + static_cast<std::size_t>(i));
    return nValue;
}

void putNumber(std::vector<unsigned char>& file, std::size_t nAt, std::uint32_t nValue)
{
    for (std::size_t i = 0; i < 4; ++i)
        file.at(nAt + i) = static_cast<unsigned char>(nValue >> (8 * i));
}

// The IFDs the chain of a sound file reaches, in order.
std::vector<std::uint32_t> directoryOffsets(const std::vector<unsigned char>& file)
{
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t nIfd = numberAt(file, 4, 4); nIfd != 0; nIfd = numberAt(file, nIfd + 2 + 12 * numberAt(file, nIfd, 2), 4))
        offsets.push_back(nIfd);
    return offsets;
}

std::size_t nextFieldOf(const std::vector<unsigned char>& file, std::uint32_t nIfd)
{
    return nIfd + 2 + 12 * numberAt(file, nIfd, 2);
}

// Bytes behind the last IFD of the chain: pages written but not yet linked.
bool hasUnlinkedTail(const std::string& path)
{
    std::vector<unsigned char> file = readFileBytes(path);
    return file.size() > nextFieldOf(file, directoryOffsets(file).back()) + 4;
}

bool fileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

class TiffAppendInterop : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* pszTool : {"tiffcp", "tiffinfo"}) {
            if (!haveTool(pszTool))
                GTEST_SKIP() << pszTool << " is not installed";
        }
        source = scratch("append-source.tif");
    }

    void TearDown() override
    {
        for (const std::string& path : m_scratchFiles)
            std::remove(path.c_str());
    }

    // A scratch file name, the file removed when the test ends.
    std::string scratch(const std::string& name)
    {
        m_scratchFiles.push_back(scratchPath(name));
        return m_scratchFiles.back();
    }

    std::string freshOutput(const std::string& name)
    {
        std::string path = scratch(name);
        std::remove(path.c_str());
        return path;
    }

    // The pages of a file as libtiff decodes them, without a word of complaint.
    static std::vector<BilevelPage> libtiffPages(const std::string& path)
    {
        std::string plain = path + ".plain.tif";
        std::remove(plain.c_str());
        if (!runCommand("test -z \"$(tiffcp -c none " + path + " " + plain + " 2>&1 >/dev/null)\"")) {
            ADD_FAILURE() << "libtiff complains about " << path;
            return {};
        }
        std::vector<BilevelPage> pages;
        for (const TiffImage& image : readTiffPages(plain))
            pages.push_back(pageOfUncompressed(image));
        std::remove(plain.c_str());
        return pages;
    }

    // The pages are exactly the numbered ones, in order.
    static void expectPagesAre(const std::vector<BilevelPage>& pages, const std::vector<int>& numbers)
    {
        ASSERT_EQ(pages.size(), numbers.size());
        for (std::size_t i = 0; i < pages.size(); ++i)
            EXPECT_TRUE(pages[i] == numberedPage(numbers[i])) << "page " << i << " is not page " << numbers[i];
    }

    static void expectPages(const std::string& path, const std::vector<int>& numbers)
    {
        SCOPED_TRACE(path);
        expectPagesAre(libtiffPages(path), numbers);
    }

    std::string pagesFile(const std::string& name, int nPages)
    {
        std::string path = freshOutput(name);
        for (int k = 0; k < nPages; ++k)
            EXPECT_EQ(appendPage(path, k, source), 0);
        return path;
    }

    std::string source;

private:
    std::vector<std::string> m_scratchFiles;
};

}

TEST_F(TiffAppendInterop, KilledAppendsLeaveAWholePrefixOfThePages)
{
    // Kill delays from a fixed seed; each series starts a new file, so that files stay small.
    constexpr int kSeries = 10;
    constexpr int kKillsPerSeries = 15;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> delayMicroseconds(0, 6000);
    int nKills = 0, nFilesChecked = 0, nPagesKept = 0, nUnlinkedTails = 0;
    for (int nSeries = 0; nSeries < kSeries; ++nSeries) {
        const std::string output = pagesFile("append-killed-" + std::to_string(nSeries) + ".tif", 1);
        const std::string childSource = scratch("append-killed-source.tif");
        int nPages = 1;
        for (int i = 0; i < kKillsPerSeries; ++i) {
            pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0)
                appendUntilKilled(output, nPages, childSource);
            usleep(static_cast<useconds_t>(delayMicroseconds(random)));
            kill(child, SIGKILL);
            int nStatus = 0;
            ASSERT_EQ(waitpid(child, &nStatus, 0), child);
            ASSERT_TRUE(WIFSIGNALED(nStatus)) << "an append failed in the child, exit status " << WEXITSTATUS(nStatus);
            ++nKills;

            std::vector<BilevelPage> pages = libtiffPages(output);
            ++nFilesChecked;
            ASSERT_GE(static_cast<int>(pages.size()), nPages) << "kill " << nKills << " lost pages";
            for (std::size_t k = 0; k < pages.size(); ++k)
                ASSERT_TRUE(pages[k] == numberedPage(static_cast<int>(k))) << "kill " << nKills << ", page " << k;
            nUnlinkedTails += hasUnlinkedTail(output);
            nPages = static_cast<int>(pages.size());

            ASSERT_EQ(appendPage(output, nPages, source), 0) << "the append after kill " << nKills;
            ++nPages;
        }
        std::vector<int> numbers(static_cast<std::size_t>(nPages));
        for (int k = 0; k < nPages; ++k)
            numbers[static_cast<std::size_t>(k)] = k;
        expectPages(output, numbers);
        ++nFilesChecked;
        nPagesKept += nPages;
    }
    std::printf("killed appends: %d kills, %d files checked by libtiff, %d pages kept; %d kills fell after "
                "pages were written and before they were linked\n",
                nKills, nFilesChecked, nPagesKept, nUnlinkedTails);
}

TEST_F(TiffAppendInterop, AKillBeforeAnyWriteOfAnAppendLeavesAWholePrefix)
{
#if defined(__linux__) && defined(__x86_64__)
    // Random kills seldom fall into a window of a few system calls; this kills an append
    // before each of its writes in turn.
    struct Kind {
        const char* pszName;
        std::vector<int> added;
        std::int32_t nCompression;
    };
    const Kind kinds[] = {{"a copied page", {2}, 0}, {"a recoded page", {3}, 4}, {"two pages at once", {4, 5}, 4}};
    const std::vector<unsigned char> base = readFileBytes(pagesFile("append-swept-base.tif", 2));
    const std::string output = scratch("append-swept.tif");
    int nKills = 0;
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.pszName);
        const std::string input = freshOutput("append-swept-input.tif");
        for (int k : kind.added)
            ASSERT_EQ(appendPage(input, k, source), 0);
        int nWrite = 1;
        for (;; ++nWrite) {
            writeFileBytes(output, base);
            if (!killBeforeWrite(nWrite, [&] {
                    return convertToTiff(input.c_str(), "", output.c_str(), 0, 0, 0, 0, kind.nCompression, 0, 0) == 0 ? 0 : 1;
                }))
                break;
            ++nKills;
            SCOPED_TRACE("killed before write " + std::to_string(nWrite));
            // The pages before, with all the new ones or none of them.
            const std::vector<BilevelPage> found = libtiffPages(output);
            std::vector<int> numbers = {0, 1};
            if (found.size() > numbers.size())
                numbers.insert(numbers.end(), kind.added.begin(), kind.added.end());
            expectPagesAre(found, numbers);
            numbers.push_back(9);
            ASSERT_EQ(appendPage(output, 9, source), 0);
            expectPages(output, numbers);
        }
        EXPECT_GT(nWrite, 3) << "the append wrote next to nothing";
    }
    std::printf("appends killed before each of their writes: %d kills\n", nKills);
#else
    GTEST_SKIP() << "system calls are counted with ptrace on x86-64 Linux";
#endif
}

TEST_F(TiffAppendInterop, BrokenChainEndsAreCutAtTheLastWholeDirectory)
{
    // Pages 0, 1 and 2, with the end of the chain spoiled as a crash or a truncated copy
    // leaves it; page 3 is appended to each.
    struct Case {
        const char* pszName;
        std::function<void(std::vector<unsigned char>&, const std::vector<std::uint32_t>&)> spoil;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {"dangling next offset",
         [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>& ifds) {
             putNumber(file, nextFieldOf(file, ifds[2]), static_cast<std::uint32_t>(file.size() + 1000));
         },
         {0, 1, 2, 3}},
        {"truncated in the middle of its last directory",
         [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>& ifds) {
             file.resize(ifds[2] + 2 + 12 * (numberAt(file, ifds[2], 2) / 2));
         },
         {0, 1, 3}},
        {"next offset to an empty directory",
         [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>& ifds) {
             putNumber(file, nextFieldOf(file, ifds[2]), static_cast<std::uint32_t>(file.size()));
             file.resize(file.size() + 6);
         },
         {0, 1, 2, 3}},
        {"next offset back to the first directory",
         [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>& ifds) {
             putNumber(file, nextFieldOf(file, ifds[2]), ifds[0]);
         },
         {0, 1, 2, 3}},
        {"no directory linked yet",
         [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>&) { putNumber(file, 4, 0); },
         {3}},
        {"nothing written yet", [](std::vector<unsigned char>& file, const std::vector<std::uint32_t>&) { file.clear(); }, {3}},
    };
    const std::vector<unsigned char> sound = readFileBytes(pagesFile("append-sound.tif", 3));
    const std::vector<std::uint32_t> ifds = directoryOffsets(sound);
    ASSERT_EQ(ifds.size(), 3u);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.pszName);
        std::vector<unsigned char> spoiled = sound;
        test.spoil(spoiled, ifds);
        const std::string path = freshOutput("append-spoiled.tif");
        writeFileBytes(path, spoiled);
        ASSERT_EQ(appendPage(path, 3, source), 0);
        expectPages(path, test.pages);
    }
}

TEST_F(TiffAppendInterop, AFailedAppendLeavesTheFileAsItWas)
{
    // Two good pages to append, the second of them with no width.
    std::vector<unsigned char> input = readFileBytes(pagesFile("append-failing-input.tif", 2));
    const std::uint32_t nSecond = directoryOffsets(input).at(1);
    for (std::uint32_t i = 0; i < numberAt(input, nSecond, 2); ++i) {
        if (numberAt(input, nSecond + 2 + 12 * i, 2) == 256)
            putNumber(input, nSecond + 2 + 12 * i + 8, 0);
    }
    const std::string inputPath = scratch("append-failing-input.tif");
    writeFileBytes(inputPath, input);

    const std::string existing = pagesFile("append-failing-output.tif", 2);
    const std::vector<unsigned char> before = readFileBytes(existing);
    const std::string fresh = freshOutput("append-failing-new.tif");
    for (std::int32_t nCompression : {0, 4}) {
        for (const std::string& output : {existing, fresh}) {
            velmo::core::String report;
            EXPECT_EQ(convertToTiff(inputPath.c_str(), "", output.c_str(), 0, 0, 0, 0, nCompression, 0, 0, &report),
                      kConvertToTiffLibraryError);
            EXPECT_NE(std::string(report.getBuffer()).find("tifInvalidImage"), std::string::npos) << report.getBuffer();
        }
        EXPECT_EQ(readFileBytes(existing), before) << nCompression;
        EXPECT_FALSE(fileExists(fresh)) << nCompression;
    }
}

TEST_F(TiffAppendInterop, OffsetsReachUpTo4GigabytesAndNoFurther)
{
    // Sparse files: the gap in the middle takes no room on the disk.
    const std::string path = pagesFile("append-large.tif", 1);
    ASSERT_EQ(truncate(path.c_str(), 3LL << 30), 0);
    struct stat info;
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    if (info.st_blocks * 512LL > (1LL << 24))
        GTEST_SKIP() << "the file system here writes out a file's gaps";

    // Pages past 3 GB, the second linked from a directory past 2 GB.
    for (int k = 1; k <= 2; ++k)
        ASSERT_EQ(appendPage(path, k, source), 0) << k;
    expectPages(path, {0, 1, 2});

    for (long long nLength : {static_cast<long long>(TiffUtil::kLongestFile) - 64, 1LL << 32, 5LL << 30}) {
        ASSERT_EQ(truncate(path.c_str(), nLength), 0);
        velmo::core::String report;
        EXPECT_EQ(appendPage(path, 3, source, &report), kConvertToTiffLibraryError) << nLength;
        EXPECT_NE(std::string(report.getBuffer()).find("maximumLengthExceeded"), std::string::npos) << report.getBuffer();
        ASSERT_EQ(stat(path.c_str(), &info), 0);
        EXPECT_EQ(static_cast<long long>(info.st_size), nLength);
    }
    ASSERT_EQ(truncate(path.c_str(), static_cast<long long>(TiffUtil::kLongestFile) - 64), 0);
    expectPages(path, {0, 1, 2});
}
