#include "tests/contract/ContractService.h"

#include "platform/Services.h"

namespace contract {
namespace {

using namespace platform;

ServiceStatusHandle g_statusHandle = nullptr;
ServiceStatusRecord g_status{ServiceWin32OwnProcess, ServiceStopped, ServiceAcceptStop, 0, 0, 0, 0};

std::uint32_t ProbeHandler(std::uint32_t control, std::uint32_t, void*, void* context) {
    // The context proves the handler's context reaches it unchanged.
    if (context != &g_status)
        return ErrorInvalidParameter;
    if (control == ServiceControlStop)
        g_status.currentState = ServiceStopped;
    return SetServiceStatus(g_statusHandle, g_status).error;
}

void ProbeMain(std::uint32_t, char16_t**) {
    auto handle = RegisterServiceCtrlHandlerExW(ProbeServiceName, ProbeHandler, &g_status);
    if (!handle)
        return;
    g_statusHandle = handle.value;
    g_status.currentState = ServiceRunning;
    SetServiceStatus(g_statusHandle, g_status);
}

} // namespace

int RunProbeService() {
    Status dispatched = StartServiceCtrlDispatcherW({{ProbeServiceName, ProbeMain}});
    return dispatched ? 0 : static_cast<int>(dispatched.error);
}

} // namespace contract
