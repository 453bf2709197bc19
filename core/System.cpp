#include "core/System.h"

#include "core/exception.BaseException.h"
#include "core/lock.Lock.h"
#include "core/os/Os.h"

namespace velmo::core {

namespace {

struct Statics {
    lock::CriticalSection section;
    String windowsDirectory;
    String currentDirectory;
    String currentDrive;
    String currentFolder;
    String moduleDirectory;
    String moduleFileName;
    String moduleDrive;
    String moduleFolder;
};

Statics& statics()
{
    static Statics values;
    return values;
}

void toForwardSlashes(String& path)
{
    path.replace("\\", "/");
}

// The drive letter and colon; empty for paths without one (POSIX, network paths).
void driveOf(const String& path, String& out)
{
    out = "";
    if (path.charAt(1) == ':')
        out.append(path.charAt(0)).append(':');
}

const String& loaded(const String& value)
{
    if (statics().currentDirectory.isEmpty())
        System::loadStatics();
    return value;
}

}

void System::getFirstFolder(const String& path, String& out)
{
    out = "";
    std::int32_t nFirst = path.indexOf("/", 0);
    if (nFirst < 0)
        return;
    std::int32_t nSecond = path.indexOf("/", nFirst + 1);
    if (nSecond < 0)
        return;
    path.substring(nFirst + 1, nSecond - nFirst - 1, out);
}

void System::loadStatics()
{
    Statics& values = statics();
    lock::Lock guard(&values.section);

    char szBuffer[512];
    if (os::getWindowsDirectory(szBuffer, sizeof szBuffer) == 0)
        szBuffer[0] = 0;
    values.windowsDirectory = szBuffer;
    values.windowsDirectory.trimRight();
    toForwardSlashes(values.windowsDirectory);

    if (!values.currentDirectory.isEmpty())
        return;
    std::uint32_t nLength = os::getCurrentDirectory(szBuffer, 260);
    if (nLength == 0)
        throw exception::BaseException(VELMO_LOCATION, exception::unspecifiedError, 0, "", "");
    String currentDirectory(szBuffer);
    currentDirectory.trimRight();

    nLength = os::getModuleFileName(szBuffer, 260);
    if (nLength == 0)
        throw exception::BaseException(VELMO_LOCATION, exception::unspecifiedError, 0, "", "");
    String modulePath(szBuffer);
    modulePath.trimRight();
    toForwardSlashes(modulePath);
    std::int32_t nSlash = modulePath.lastIndexOf('/', -1);
    modulePath.substring(0, nSlash < 0 ? 0 : nSlash, values.moduleDirectory);
    modulePath.substring(nSlash + 1, values.moduleFileName);
    driveOf(modulePath, values.moduleDrive);
    getFirstFolder(values.moduleDirectory, values.moduleFolder);

    toForwardSlashes(currentDirectory);
    driveOf(currentDirectory, values.currentDrive);
    getFirstFolder(currentDirectory, values.currentFolder);
    // Set last: an empty current directory is what marks the statics as not loaded.
    values.currentDirectory = currentDirectory;
}

const String& System::getCurrentDirectory() { return loaded(statics().currentDirectory); }
const String& System::getCurrentFolder() { return loaded(statics().currentFolder); }
const String& System::getCurrentDrive() { return loaded(statics().currentDrive); }
const String& System::getWindowsDirectory() { return loaded(statics().windowsDirectory); }
const String& System::getModuleDirectory() { return loaded(statics().moduleDirectory); }
const String& System::getModuleFileName() { return loaded(statics().moduleFileName); }
const String& System::getModuleDrive() { return loaded(statics().moduleDrive); }
const String& System::getModuleFolder() { return loaded(statics().moduleFolder); }

}
