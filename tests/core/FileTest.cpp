#include "core/System.h"
#include "core/exception.BaseException.h"
#include "core/io.File.h"
#include "core/io.FileStream.h"
#include "core/net.DnsUtil.h"
#include "core/os/Os.h"

#include "core/ThrownCode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

using namespace velmo::core;
using namespace velmo::core::io;
using exception::BaseException;
using velmo::tests::codeOf;

namespace {

std::string fullName(const char* pszPath, bool bNetworkForm = false)
{
    String out;
    File::getFileFullName(pszPath, out, bNetworkForm);
    return out.getBuffer() ? out.getBuffer() : "";
}

std::string text(const String& value)
{
    return value.getBuffer() ? value.getBuffer() : "";
}

// A scratch folder below the current directory, removed with its files by the test.
std::string scratch(const char* pszName)
{
    return text(System::getCurrentDirectory()) + "/core-file-test/" + pszName;
}

}

TEST(FileName, RelativeAndDottedPaths)
{
    const std::string cwd = text(System::getCurrentDirectory());
    const std::string parent = cwd.substr(0, cwd.rfind('/'));
    const std::pair<const char*, std::string> cases[] = {
        {"name.tif", cwd + "/name.tif"},
        {"./name.tif", cwd + "/name.tif"},
        {"../name.tif", parent + "/name.tif"},
        {"sub/./x/../name.tif", cwd + "/sub/name.tif"},
        {"sub\\deeper\\..\\name.tif", cwd + "/sub/name.tif"},
        {"a//b/", cwd + "/a/b"},
        {"  x.tif \r\n", cwd + "/x.tif"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& [pszPath, expected] : cases)
        EXPECT_EQ(fullName(pszPath), expected) << pszPath;
}

#ifdef _WIN32
TEST(FileName, DriveLetterRules)
{
    const std::string cwd = text(System::getCurrentDirectory());
    const std::string drive = text(System::getCurrentDrive());
    const std::string folder = text(System::getCurrentFolder());
    const std::pair<const char*, std::string> cases[] = {
        {"D:\\data\\page.tif", "D:/data/page.tif"},
        {"D:", "D:"},
        {"\\fax\\page.tif", drive + "/fax/page.tif"},
        {"D:\\.\\page.tif", "D:/" + folder + "/page.tif"},
        {"\\.\\page.tif", drive + "/" + folder + "/page.tif"},
        {"D:\\..\\page.tif", "D" + cwd.substr(1) + "/page.tif"},
        {"\\..\\page.tif", cwd + "/page.tif"},
        {"C:\\a\\b\\..\\c", "C:/a/c"},
        {"\\\\host\\share\\dir\\f.tif", "\\\\host/share/dir/f.tif"},
    };
    for (const auto& [pszPath, expected] : cases)
        EXPECT_EQ(fullName(pszPath), expected) << pszPath;

    std::string host = text(net::DnsUtil::getFullHostName());
    EXPECT_EQ(fullName("C:\\data\\x.tif", true), "\\\\" + host + "/C$/data/x.tif");
    EXPECT_EQ(fullName("\\\\host\\share\\x.tif", true), "\\\\host/share/x.tif");
}
#else
TEST(FileName, RootedPathsWithoutDrives)
{
    EXPECT_EQ(text(System::getCurrentDrive()), "");
    EXPECT_EQ(fullName("/tmp/x/../y.tif"), "/tmp/y.tif");
    EXPECT_EQ(fullName("/"), "");
}
#endif

TEST(FileName, DirectoryAndName)
{
    String out;
    File::getFileDirectory("C:\\fax/out\\page.tif", out, false);
    EXPECT_STREQ(out.getBuffer(), "C:\\fax/out");
    File::getFileName("C:\\fax/out\\page.tif", out);
    EXPECT_STREQ(out.getBuffer(), "page.tif");
    File::getFileName("page.tif", out);
    EXPECT_STREQ(out.getBuffer(), "page.tif");
}

TEST(File, CreateReplacesAndOpenFindsOnlyExistingFiles)
{
    std::string path = scratch("nested/dir/file.bin");
    const unsigned char data[] = {'a', 'b', 'c', 'd'};
    {
        FileStream stream;
        stream.create(path.c_str(), false);
        EXPECT_TRUE(stream.canWrite());
        EXPECT_FALSE(stream.canRead());
        stream.writeData(data, 0, 4);
        EXPECT_EQ(stream.getPosition(), 4u);
    }
    {
        FileStream stream;
        stream.create(path.c_str(), false);
        stream.writeData(data, 2, 1);
    }
    FileStream stream;
    stream.open(path.c_str(), false);
    EXPECT_TRUE(stream.canRead());
    unsigned char buffer[8] = {};
    EXPECT_EQ(stream.readData(buffer, 0, 8), 1);
    EXPECT_EQ(buffer[0], 'c');
    EXPECT_TRUE(stream.seek(0, IStream::seekBegin));
    EXPECT_EQ(stream.getFile().getFullName().getLength() > 0, true);
    stream.close();
    EXPECT_EQ(codeOf([&] { stream.getPosition(); }), 4004);
    EXPECT_EQ(codeOf([&] { stream.readData(buffer, 0, 1); }), 4004);

    EXPECT_EQ(codeOf([&] { stream.open(scratch("missing.bin").c_str(), false); }), 4710);
    EXPECT_EQ(codeOf([&] { stream.open(scratch("nested").c_str(), false); }), 4000);
    EXPECT_EQ(codeOf([&] { stream.create("", false); }), 4000);
    // A file where a folder is needed.
    EXPECT_EQ(codeOf([&] { stream.create((path + "/below.bin").c_str(), false); }), 4000);

    File::deleteFile(path.c_str());
    EXPECT_EQ(codeOf([&] { File::deleteFile(path.c_str()); }), 4000);
    std::remove(scratch("nested/dir").c_str());
}

TEST(File, SetLengthCutsAndExtends)
{
    std::string path = scratch("length.bin");
    const unsigned char data[] = {'a', 'b', 'c', 'd', 'e', 'f'};
    FileStream stream;
    stream.create(path.c_str(), false);
    stream.writeData(data, 0, 6);
    stream.getFile().setLength(2);
    EXPECT_EQ(stream.getPosition(), 2u);
    stream.writeData(data, 5, 1);
    stream.getFile().setLength(5);
    stream.close();
    stream.open(path.c_str(), false);
    unsigned char buffer[8] = {0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55};
    EXPECT_EQ(stream.readData(buffer, 0, 8), 5);
    EXPECT_EQ(std::string(buffer, buffer + 5), std::string("abf\0\0", 5));
    stream.close();
    EXPECT_EQ(codeOf([&] { stream.getFile().setLength(0); }), 4004);
    File::deleteFile(path.c_str());
}

TEST(File, SameFileUnderAnyName)
{
    std::string path = scratch("same/one.bin");
    std::string other = scratch("same/other.bin");
    for (const std::string& name : {path, other}) {
        FileStream stream;
        stream.create(name.c_str(), false);
        stream.writeData(reinterpret_cast<const unsigned char*>("same"), 0, 4);
    }
    const std::string relative = "core-file-test/same/one.bin";
    EXPECT_TRUE(os::isSameFile(path.c_str(), path.c_str()));
    EXPECT_TRUE(os::isSameFile(path.c_str(), relative.c_str()));
    EXPECT_TRUE(os::isSameFile(path.c_str(), scratch("same/../same/./one.bin").c_str()));
    // Equal contents do not make one file.
    EXPECT_FALSE(os::isSameFile(path.c_str(), other.c_str()));
    EXPECT_FALSE(os::isSameFile(path.c_str(), scratch("same/missing.bin").c_str()));
    EXPECT_FALSE(os::isSameFile(scratch("same/missing.bin").c_str(), scratch("same/missing.bin").c_str()));
#ifndef _WIN32
    std::string hardLink = scratch("same/hard.bin");
    std::string symbolicLink = scratch("same/symbolic.bin");
    ASSERT_EQ(link(path.c_str(), hardLink.c_str()), 0);
    ASSERT_EQ(symlink(path.c_str(), symbolicLink.c_str()), 0);
    EXPECT_TRUE(os::isSameFile(hardLink.c_str(), path.c_str()));
    EXPECT_TRUE(os::isSameFile(path.c_str(), symbolicLink.c_str()));
    File::deleteFile(hardLink.c_str());
    File::deleteFile(symbolicLink.c_str());
#endif
    File::deleteFile(path.c_str());
    File::deleteFile(other.c_str());
    std::remove(scratch("same").c_str());
}

TEST(System, ProcessFacts)
{
    std::string module = text(System::getModuleFileName());
    EXPECT_NE(module.find("core_tests"), std::string::npos) << module;
    EXPECT_EQ(text(System::getModuleDirectory()).find('\\'), std::string::npos);
    EXPECT_EQ(text(System::getCurrentDirectory()).find('\\'), std::string::npos);
    String folder;
    System::getFirstFolder(String("C:/"), folder);
    EXPECT_STREQ(folder.getBuffer(), "");
    System::getFirstFolder(String("C:/Users/fax"), folder);
    EXPECT_STREQ(folder.getBuffer(), "Users");
#ifdef _WIN32
    EXPECT_EQ(text(System::getWindowsDirectory()).substr(1), ":/windows");
#endif
}

TEST(DnsUtil, HostNameIsUpperCaseWithDomain)
{
    std::string host = text(net::DnsUtil::getHostName());
    std::string full = text(net::DnsUtil::getFullHostName());
    EXPECT_FALSE(host.empty());
    for (char cChar : host)
        EXPECT_FALSE(cChar >= 'a' && cChar <= 'z') << host;
    EXPECT_EQ(full, host + "." + text(net::DnsUtil::getDomainName()));
}
