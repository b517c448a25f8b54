// The service control manager (advapi32): both the controlling side (open,
// create, start, control, delete) and the service process side (dispatcher,
// control handler, status reports).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

constexpr std::uint32_t ScManagerAllAccess = 0xF003F;
constexpr std::uint32_t ServiceAllAccess = 0xF01FF;
constexpr std::uint32_t ServiceQueryConfig = 0x1;
constexpr std::uint32_t ServiceQueryStatus = 0x4;
constexpr std::uint32_t ServiceStart = 0x10;
constexpr std::uint32_t ServiceStop = 0x20;
constexpr std::uint32_t Delete = 0x10000;

constexpr std::uint32_t ServiceWin32OwnProcess = 0x10;
constexpr std::uint32_t ServiceAutoStart = 2;
constexpr std::uint32_t ServiceDemandStart = 3;
constexpr std::uint32_t ServiceErrorNormal = 1;

constexpr std::uint32_t ServiceStopped = 1;
constexpr std::uint32_t ServiceStartPending = 2;
constexpr std::uint32_t ServiceStopPending = 3;
constexpr std::uint32_t ServiceRunning = 4;

constexpr std::uint32_t ServiceAcceptStop = 0x1;
constexpr std::uint32_t ServiceAcceptShutdown = 0x4;

constexpr std::uint32_t ServiceControlStop = 1;
constexpr std::uint32_t ServiceControlInterrogate = 4;
constexpr std::uint32_t ServiceControlShutdown = 5;
constexpr std::uint32_t ServiceControlDeviceEvent = 11;

// SERVICE_STATUS, fields in the platform's order.
struct ServiceStatusRecord {
    std::uint32_t serviceType = 0;
    std::uint32_t currentState = 0;
    std::uint32_t controlsAccepted = 0;
    std::uint32_t win32ExitCode = 0;
    std::uint32_t serviceSpecificExitCode = 0;
    std::uint32_t checkPoint = 0;
    std::uint32_t waitHint = 0;

    friend bool operator==(const ServiceStatusRecord&, const ServiceStatusRecord&) = default;
};

struct ServiceConfig {
    std::u16string serviceName;
    std::u16string displayName;
    std::uint32_t desiredAccess = ServiceAllAccess;
    std::uint32_t serviceType = ServiceWin32OwnProcess;
    std::uint32_t startType = ServiceAutoStart;
    std::uint32_t errorControl = ServiceErrorNormal;
    std::u16string binaryPathName;

    friend bool operator==(const ServiceConfig&, const ServiceConfig&) = default;
};

// QUERY_SERVICE_CONFIGW.
struct QueryServiceConfigRecord {
    std::uint32_t serviceType = 0;
    std::uint32_t startType = 0;
    std::uint32_t errorControl = 0;
    std::u16string binaryPathName;
    std::u16string loadOrderGroup;
    std::uint32_t tagId = 0;
    std::vector<std::u16string> dependencies;
    std::u16string serviceStartName; // the account
    std::u16string displayName;

    friend bool operator==(const QueryServiceConfigRecord&,
                           const QueryServiceConfigRecord&) = default;
};

struct ScTraits {
    static Status Close(RawHandle raw); // CloseServiceHandle
};
using ScHandle = ScopedHandle<ScTraits>;

// Local machine, active database.
Outcome<ScHandle> OpenSCManagerW(std::uint32_t desiredAccess);
Outcome<ScHandle> OpenServiceW(const ScHandle& manager, std::u16string_view serviceName,
                               std::uint32_t desiredAccess);
Outcome<ScHandle> CreateServiceW(const ScHandle& manager, const ServiceConfig& config);
// No arguments.
Status StartServiceW(const ScHandle& service);
Outcome<ServiceStatusRecord> ControlService(const ScHandle& service, std::uint32_t control);
Outcome<ServiceStatusRecord> QueryServiceStatus(const ScHandle& service);
Outcome<QueryServiceConfigRecord> QueryServiceConfigW(const ScHandle& service);
Status DeleteService(const ScHandle& service);

// --- The service process side ------------------------------------------

using ServiceMainFunction = void (*)(std::uint32_t argc, char16_t** argv);
using HandlerFunctionEx = std::uint32_t (*)(std::uint32_t control, std::uint32_t eventType,
                                            void* eventData, void* context);

struct ServiceTableEntry {
    std::u16string serviceName;
    ServiceMainFunction serviceMain = nullptr;
};

// Not a closable handle: Windows owns it for the life of the service.
using ServiceStatusHandle = RawHandle;

// Blocks until every service of the process has reported stopped; fails at
// once (ErrorFailedServiceControllerConnect) when the process was not
// started by the service control manager.
Status StartServiceCtrlDispatcherW(const std::vector<ServiceTableEntry>& table);
Outcome<ServiceStatusHandle> RegisterServiceCtrlHandlerExW(std::u16string_view serviceName,
                                                           HandlerFunctionEx handler,
                                                           void* context);
Status SetServiceStatus(ServiceStatusHandle handle, const ServiceStatusRecord& status);

} // namespace platform
