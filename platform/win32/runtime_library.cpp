// The platform layer as a run-time library: its one versioned entry point.
#include "internal.h"
#include "loader.h"

extern "C" __declspec(dllexport) platform::Services* BoardSuiteRuntime(int interfaceVersion,
                                                                        void* context) {
    (void)context;
    if (interfaceVersion != platform::InterfaceVersion) return nullptr;
    return win32::RuntimeServices();
}
