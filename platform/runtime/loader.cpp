#include "loader.h"

#include <vector>

#include "platform/services.h"

namespace platform {

namespace {
Text InFolder(Text folder, const char* name) {
    if (!folder.empty() && !EndsWithCharacter(folder, '\\')) folder += '\\';
    return folder + name;
}

// A drive and its root ("D:\...") or a share ("\\server\..."). Any other
// folder would be looked up against the current directory or the search
// path, where anybody can leave a library.
bool FullyQualified(const Text& folder) {
    bool letter = !folder.empty() &&
                  ((folder[0] >= 'A' && folder[0] <= 'Z') || (folder[0] >= 'a' && folder[0] <= 'z'));
    if (letter && folder.size() >= 3 && folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/'))
        return true;
    return folder.size() >= 3 && folder.compare(0, 2, "\\\\") == 0 && folder[2] != '\\';
}
}  // namespace

LoadedRuntime LoadRuntime(LoaderHost& host, void* context) {
    std::vector<Text> candidates = {InFolder(host.ownFolder(), RuntimeLibraryName)};
    if (auto folder = host.registryFolder(); folder && FullyQualified(*folder))
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
