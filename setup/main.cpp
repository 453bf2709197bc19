// korvasetup: installs, checks or removes the virtual printer from the package beside it.
#include "setup/Installer.h"
#include "setup/SetupResult.h"

#include <windows.h>

int main()
{
    const velmo::setup::Console console;
    try {
        velmo::setup::Installer installer(console, velmo::setup::Package::ofThisProgram());
        return static_cast<int>(installer.run(GetCommandLineA()));
    } catch (...) {
        console.finish("main::exception");
        return static_cast<int>(velmo::setup::code::unexpectedException);
    }
}
