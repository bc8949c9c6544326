#include "components.h"

namespace setupdll {

ServerCall CallServerEntry(platform::Libraries& libraries, const platform::Text& path, const char* entry) {
    if (path.empty()) return ServerCall::NotLoaded;
    std::unique_ptr<platform::Library> library = libraries.load(path);
    if (!library) return ServerCall::NotLoaded;
    auto call = reinterpret_cast<ServerEntry>(library->symbol(entry));
    if (!call) return ServerCall::NoEntry;
    return call() >= 0 ? ServerCall::Done : ServerCall::Failed;
}

}  // namespace setupdll
