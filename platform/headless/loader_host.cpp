#include "headless/loader_host.h"

namespace headless {

using namespace platform;

std::optional<Text> MachineLoaderHost::registryFolder() {
    auto v = machine_.value(Hive::CurrentUser, RuntimeFolderKey, RuntimeFolderValue);
    if (!v || v->dword) return std::nullopt;
    return v->text;
}

void* MachineLoaderHost::open(const Text& fullPath) {
    return machine_.loadLibrary(fullPath);
}

void* MachineLoaderHost::symbol(void* library, const char* name) {
    auto& symbols = *static_cast<std::map<std::string, void*>*>(library);
    auto it = symbols.find(name);
    return it == symbols.end() ? nullptr : it->second;
}

void MachineLoaderHost::showError(const Text& text, const Text& caption) {
    session_.showBox(BoxRecord{text, caption, Icon::Error, Buttons::Ok, 0, {}});
}

Services* HeadlessRuntimeEntry(int interfaceVersion, void* context) {
    if (interfaceVersion != InterfaceVersion || !context) return nullptr;
    return &static_cast<Session*>(context)->services();
}

}  // namespace headless
