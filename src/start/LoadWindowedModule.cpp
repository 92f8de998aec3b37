#include "start/LoadWindowedModule.h"

#include "base/Messages.h"
#include "config/RuntimeFiles.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

#include <string>

namespace vx {

int RunWindowedModule(const char* moduleName, int argc, char** argv)
{
#ifdef _WIN32
    (void)moduleName, (void)argc, (void)argv;
    WriteStdErr("The windowed program is not part of this build; run VXCLT with arguments (VXCLT /help).");
    return 1;
#else
    const std::string path = JoinPath(ProgramFolder(), moduleName);
    // The module stays loaded until the process ends: Qt keeps running code of it at exit.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    using Entry = int (*)(int, char**);
    Entry entry = module ? reinterpret_cast<Entry>(dlsym(module, "vx_windowed_main")) : nullptr;
    if (!entry) {
        const char* why = dlerror();
        WriteStdErr("The windowed program could not be started: " + std::string(why ? why : path) +
                    ". Run VXCLT with arguments for the command-line conversion (VXCLT /help).");
        return 1;
    }
    return entry(argc, argv);
#endif
}

} // namespace vx
