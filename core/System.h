#ifndef VELMO_CORE_SYSTEM_H
#define VELMO_CORE_SYSTEM_H

#include "core/String.h"

namespace velmo::core {

// Process facts recorded once, with "/" for "\": the Windows directory (re-read on every
// load), the current directory with its drive and first folder, and the module file with
// its directory, drive and first folder.
class System {
public:
    static void loadStatics();

    static const String& getCurrentDirectory();
    static const String& getCurrentFolder();
    static const String& getCurrentDrive();
    static const String& getWindowsDirectory();
    static const String& getModuleDirectory();
    static const String& getModuleFileName();
    static const String& getModuleDrive();
    static const String& getModuleFolder();

    // The text between the first and second "/" of a path ("" when there is none).
    static void getFirstFolder(const String& path, String& out);
};

}

#endif
