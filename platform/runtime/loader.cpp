#include "loader.h"

#include <vector>

#include "platform/services.h"

namespace platform {

namespace {
Text InFolder(Text folder, const char* name) {
    if (!folder.empty() && !EndsWithCharacter(folder, '\\')) folder += '\\';
    return folder + name;
}
}  // namespace

LoadedRuntime LoadRuntime(LoaderHost& host, void* context) {
    std::vector<Text> candidates = {InFolder(host.ownFolder(), RuntimeLibraryName)};
    if (auto folder = host.registryFolder(); folder && IsFullyQualified(*folder))
        candidates.push_back(InFolder(*folder, RuntimeLibraryName));
    for (const Text& path : candidates) {
        void* library = host.open(path);
        if (!library) continue;
        auto entry = reinterpret_cast<RuntimeEntry>(host.symbol(library, RuntimeEntryName));
        Services* services = entry ? entry(InterfaceVersion, context) : nullptr;
        if (services) return {services, path};
        host.close(library);
    }
    return {};
}

int RunOnRuntime(LoaderHost& host, ProgramMain programMain, void* context) {
    LoadedRuntime runtime = LoadRuntime(host, context);
    if (!runtime.services) {
        host.showError(RuntimeMissingText, "Error");
        return 1;
    }
    return programMain(*runtime.services);
}

}  // namespace platform
