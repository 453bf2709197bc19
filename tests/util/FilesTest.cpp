#include "tests/util/ScratchDirectory.h"
#include "util/Files.h"

#include <gtest/gtest.h>

using namespace velmo::util;
using velmo::util::test::readText;
using velmo::util::test::writeText;

namespace {

constexpr long long halfSecond = 5000000;
constexpr long long oneSecond = 10000000;

class Files : public ::testing::Test {
protected:
    test::ScratchDirectory scratch;

    std::string file(const std::string& name, const std::string& text)
    {
        const std::string path = scratch / name;
        writeText(path, text);
        return path;
    }
};

std::string longPath(const std::string& start)
{
    return start + "\\" + std::string(300, 'x');
}

TEST_F(Files, CreateDirectoryTreeMakesEveryLevel)
{
    const std::string nested = scratch / "a\\b\\c";
    EXPECT_EQ(createDirectoryTree(nested + "\\"), code::success);
    EXPECT_TRUE(directoryExists(nested));
    EXPECT_EQ(createDirectoryTree(nested), code::success); // exists already
    EXPECT_EQ(createDirectoryTree(scratch / "a\\\\d/e"), code::success);
    EXPECT_TRUE(directoryExists(scratch / "a\\d\\e"));
    EXPECT_EQ(createDirectoryTree("C:\\"), code::success);
    EXPECT_EQ(createDirectoryTree("C:"), code::success);
}

TEST_F(Files, CreateDirectoryTreeRefusesBadPaths)
{
    EXPECT_EQ(createDirectoryTree(""), code::directoryPathEmpty);
    EXPECT_EQ(createDirectoryTree(" \t "), code::directoryPathEmpty);
    // A file where a directory is expected is no success.
    const std::string blocker = file("blocker", "x");
    EXPECT_EQ(createDirectoryTree(blocker), code::systemError(ERROR_ALREADY_EXISTS));
    const ResultCode below = createDirectoryTree(blocker + "\\sub");
    EXPECT_GT(below, code::systemErrorBase);
    const ResultCode tooLong = createDirectoryTree(longPath(scratch.path()));
    EXPECT_GT(tooLong, code::systemErrorBase);
    EXPECT_FALSE(directoryExists(longPath(scratch.path())));
}

TEST_F(Files, CopyToNewTargetCreatesItsDirectory)
{
    const std::string source = file("source.txt", "content");
    const std::string target = scratch / "new\\dir\\target.txt";
    EXPECT_EQ(copyFileIfChanged(source, target, true, true), code::success);
    EXPECT_EQ(readText(target), "content");
    EXPECT_EQ(copyFileIfChanged(scratch / "missing.txt", scratch / "other.txt", false, false),
              code::copyToNewTargetFailed);
    EXPECT_EQ(copyFileIfChanged(source, file("blocker", "x") + "\\t.txt", false, false),
              code::copyTargetDirectoryFailed);
    EXPECT_EQ(copyFileIfChanged(source, longPath(scratch.path()), false, true), code::copyToNewTargetFailed);
}

TEST_F(Files, CopyOverExistingTargetWithoutCompare)
{
    const std::string source = file("source.txt", "new");
    const std::string target = file("target.txt", "old and longer");
    EXPECT_EQ(copyFileIfChanged(source, target, true, false), code::copyOverTargetFailed);
    EXPECT_EQ(readText(target), "old and longer");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(copyFileIfChanged(source, target, false, false), code::success);
    EXPECT_EQ(readText(target), "new");
    EXPECT_EQ(GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST_F(Files, CopyWithCompareSkipsTargetsWithinOneSecond)
{
    const struct {
        const char* pszName;
        const char* pszTargetText;
        long long nTargetAge;
        bool bCopied;
    } rows[] = {
        {"same time", "OLD", 0, false},
        {"half a second older", "OLD", halfSecond, false},
        {"half a second newer", "OLD", -halfSecond, false},
        {"one second older", "OLD", oneSecond, true},
        {"same time, other size", "OLDER", 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszName);
        const std::string source = file("source.txt", "NEW");
        const std::string target = file("target.txt", row.pszTargetText);
        const FILETIME sourceTime = test::lastWriteTime(source);
        test::setLastWriteTime(target, test::shiftedBy(sourceTime, -row.nTargetAge));

        EXPECT_EQ(copyFileIfChanged(source, target, false, true), code::success);
        EXPECT_EQ(readText(target), row.bCopied ? "NEW" : row.pszTargetText);
        const FILETIME targetTime = test::lastWriteTime(target);
        if (row.bCopied) {
            EXPECT_EQ(CompareFileTime(&sourceTime, &targetTime), 0);
        }
    }
}

TEST_F(Files, CopyWithCompareNeedsAReadableSource)
{
    const std::string target = file("target.txt", "old");
    EXPECT_EQ(copyFileIfChanged(scratch / "missing.txt", target, false, true), code::copyOpenSourceFailed);
    EXPECT_EQ(readText(target), "old");
}

TEST_F(Files, MoveOntoItselfInOtherCaseTouchesNothing)
{
    const std::string path = file("Same.txt", "kept");
    const FILETIME before = test::lastWriteTime(path);
    std::string otherCase = path;
    otherCase.replace(otherCase.size() - 8, 4, "SAME");
    EXPECT_EQ(moveFile(path, otherCase), code::success);
    const FILETIME after = test::lastWriteTime(path);
    EXPECT_EQ(readText(path), "kept");
    EXPECT_EQ(CompareFileTime(&before, &after), 0);
}

TEST_F(Files, MoveReplacesAnExistingTarget)
{
    const std::string source = file("source.txt", "moved");
    const std::string target = file("target.txt", "replaced target");
    EXPECT_EQ(moveFile(source, target), code::success);
    EXPECT_FALSE(fileExists(source));
    EXPECT_EQ(readText(target), "moved");
}

TEST_F(Files, MoveChecksSourceAndTargetDirectory)
{
    const std::string source = file("source.txt", "x");
    const std::string notADirectory = file("plain", "x");
    ASSERT_TRUE(CreateDirectoryA((scratch / "dir").c_str(), nullptr));
    EXPECT_EQ(moveFile(scratch / "missing.txt", scratch / "t.txt"), code::moveSourceMissing);
    EXPECT_EQ(moveFile("", scratch / "t.txt"), code::moveSourceMissing);
    EXPECT_EQ(moveFile(scratch / "dir", scratch / "t.txt"), code::moveSourceIsDirectory);
    EXPECT_EQ(moveFile(source, scratch / "nowhere\\t.txt"), code::moveTargetDirectoryMissing);
    EXPECT_EQ(moveFile(source, notADirectory + "\\t.txt"), code::moveTargetDirectoryNotDirectory);
    EXPECT_EQ(moveFile(source, scratch / "dir"), code::moveFailed);
    EXPECT_EQ(moveFile(source, longPath(scratch.path())), code::moveFailed);
    EXPECT_TRUE(fileExists(source));
}

TEST_F(Files, DeleteFileRetry)
{
    const std::string path = file("doomed.txt", "x");
    EXPECT_EQ(deleteFileRetry(path), code::success);
    EXPECT_FALSE(fileExists(path));
    EXPECT_EQ(deleteFileRetry(path), code::success);
    EXPECT_EQ(deleteFileRetry("  "), code::success);

    const std::string readOnly = file("readonly.txt", "x");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(deleteFileRetry(readOnly), code::deleteFileStillPresent);
    EXPECT_TRUE(fileExists(readOnly));
}

TEST_F(Files, WriteFileBytesReplacesTheWholeFile)
{
    const std::string path = file("data.bin", "a much longer old content");
    const char bytes[] = {'n', 'e', 'w', '\0', 'x'};
    EXPECT_EQ(writeFileBytes(path, bytes, sizeof(bytes)), code::success);
    EXPECT_EQ(readText(path), std::string(bytes, sizeof(bytes)));
    EXPECT_EQ(writeFileBytes(path, nullptr, 3), code::writeFailed);
    EXPECT_EQ(readText(path), std::string(bytes, sizeof(bytes)));
    EXPECT_EQ(writeFileBytes(path, nullptr, 0), code::success);
    EXPECT_EQ(fileSize(path), 0u);
}

TEST_F(Files, WriteFileBytesRefusesBadPaths)
{
    EXPECT_EQ(writeFileBytes("", "x", 1), code::writePathEmpty);
    EXPECT_EQ(writeFileBytes(" \r\n", "x", 1), code::writePathEmpty);
    EXPECT_EQ(writeFileBytes(scratch / "missing\\data.bin", "x", 1), code::writeCreateFailed);
    EXPECT_EQ(writeFileBytes(scratch.path(), "x", 1), code::writeCreateFailed);
    EXPECT_EQ(writeFileBytes(longPath(scratch.path()), "x", 1), code::writeCreateFailed);
}

TEST_F(Files, ExistenceAndSize)
{
    const std::string path = file("five.txt", "12345");
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(directoryExists(path));
    EXPECT_TRUE(directoryExists(scratch.path()));
    EXPECT_FALSE(fileExists(scratch.path()));
    EXPECT_EQ(fileSize(path), 5u);
    const std::string missingPaths[] = {scratch / "missing", "", "  ", longPath(scratch.path())};
    for (const std::string& missing : missingPaths) {
        EXPECT_FALSE(fileExists(missing)) << missing;
        EXPECT_FALSE(directoryExists(missing)) << missing;
        EXPECT_EQ(fileSize(missing), 0u) << missing;
    }
    EXPECT_EQ(fileSize(scratch.path()), 0u);
}

}
