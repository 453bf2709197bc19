#include "setup/PortFile.h"

#include "setup/SetupResult.h"
#include "util/AccessGrant.h"
#include "util/Files.h"
#include "util/Handles.h"
#include "util/Locations.h"
#include "util/Platform.h"

#include <windows.h>

namespace velmo::setup {

namespace {

// Switches file-system redirection off for the scope, so that a 32-bit installer reaches
// the native System32.
class NativeFileSystemScope {
public:
    NativeFileSystemScope() { util::disableFsRedirection(m_pToken); }
    ~NativeFileSystemScope() { util::revertFsRedirection(m_pToken); }
    NativeFileSystemScope(const NativeFileSystemScope&) = delete;
    NativeFileSystemScope& operator=(const NativeFileSystemScope&) = delete;

private:
    void* m_pToken = util::noRedirectionToken;
};

}

std::string portFilePath(const std::string& portName)
{
    return util::windowsDirectory() + "\\System32\\" + portName;
}

util::ResultCode preparePortFile(const std::string& portName)
{
    if (portName.empty())
        return code::portNameEmpty;
    const NativeFileSystemScope nativeFileSystem;
    const std::string path = portFilePath(portName);
    if (!util::fileExists(path)) {
        const util::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.isValid())
            return code::portFileNotCreated;
    }
    // Refused for a file in System32 by the grant's own rules; the file works without it.
    util::grantFullAccess(path);
    return util::code::success;
}

}
