// The loader of boardtool-shared on the headless platform: libraries and the
// registry come from the machine, the error box goes to the session.
#pragma once

#include "headless/session.h"
#include "loader.h"

namespace headless {

class MachineLoaderHost : public platform::LoaderHost {
public:
    MachineLoaderHost(Machine& m, Session& s) : machine_(m), session_(s) {}
    Text ownFolder() override { return machine_.runDirectory; }
    std::optional<Text> registryFolder() override;
    void* open(const Text& fullPath) override;
    void* symbol(void* library, const char* name) override;
    void close(void*) override {}
    void showError(const Text& text, const Text& caption) override;

private:
    Machine& machine_;
    Session& session_;
};

// The entry point of a headless run-time library: context is the Session
// whose services it hands over.
platform::Services* HeadlessRuntimeEntry(int interfaceVersion, void* context);

}  // namespace headless
