#include "MediaCommands.h"

#include "app/core/ProgramPaths.h"

#include <dlfcn.h>
#include <iostream>
#include <vector>

#ifndef KX_MODULE_DIR
#define KX_MODULE_DIR "/usr/local/lib/kx480-viewer"
#endif

namespace kx::tool {

bool IsMediaCommand(const std::string& command) {
    return command == "gen" || command == "gen-card" || command == "info" || command == "frame";
}

namespace {

int RunModuleCommand(const char* moduleName, const char* entryName, const std::string& command, const Args& args) {
    void* module = nullptr;
    std::string why;
    for (const std::string& folder : {ProgramFolder(), std::string(KX_MODULE_DIR)}) {
        if (folder.empty()) continue;
        module = ::dlopen((folder + "/" + moduleName).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module) break;
        if (const char* e = ::dlerror(); e && why.empty()) why = e;
    }
    const auto entry = module ? reinterpret_cast<MediaEntry>(::dlsym(module, entryName)) : nullptr;
    if (!entry) {
        std::cerr << "kx480-tool: the " << command << " command needs " << moduleName << " beside the program"
                  << (why.empty() ? "" : ": " + why) << '\n';
        return kExitFailure;
    }
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    // The module stays loaded until exit: FFmpeg and Qt keep threads and state that outlive a
    // call.
    return entry(command.c_str(), static_cast<int>(argv.size()), argv.data());
}

}  // namespace

int RunMediaCommand(const std::string& command, const Args& args) {
    return RunModuleCommand(kMediaModuleName, kMediaEntryName, command, args);
}

bool IsReportCommand(const std::string& command) { return command == "report"; }

int RunReportCommand(const std::string& command, const Args& args) {
    return RunModuleCommand(kReportModuleName, kReportEntryName, command, args);
}

}  // namespace kx::tool
