// The one exported entry of the headless run-time library.
#include "headless/loader_host.h"

extern "C" __attribute__((visibility("default"))) platform::Services* BoardSuiteRuntime(
    int interfaceVersion, void* context) {
    return headless::HeadlessRuntimeEntry(interfaceVersion, context);
}
