#include "platform/Services.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

using win32::LastError;
using win32::ToWide;

SC_HANDLE Sc(const ScHandle& handle) {
    return static_cast<SC_HANDLE>(handle.Get());
}

ServiceStatusRecord FromRaw(const SERVICE_STATUS& raw) {
    return ServiceStatusRecord{raw.dwServiceType,
                               raw.dwCurrentState,
                               raw.dwControlsAccepted,
                               raw.dwWin32ExitCode,
                               raw.dwServiceSpecificExitCode,
                               raw.dwCheckPoint,
                               raw.dwWaitHint};
}

SERVICE_STATUS ToRaw(const ServiceStatusRecord& status) {
    return SERVICE_STATUS{status.serviceType,
                          status.currentState,
                          status.controlsAccepted,
                          status.win32ExitCode,
                          status.serviceSpecificExitCode,
                          status.checkPoint,
                          status.waitHint};
}

Outcome<ScHandle> ScOutcome(SC_HANDLE raw) {
    return win32::HandleOutcome<ScHandle>(raw);
}

} // namespace

Status ScTraits::Close(RawHandle raw) {
    return win32::StatusOf(::CloseServiceHandle(static_cast<SC_HANDLE>(raw)));
}

Outcome<ScHandle> OpenSCManagerW(std::uint32_t desiredAccess) {
    return ScOutcome(::OpenSCManagerW(nullptr, nullptr, desiredAccess));
}

Outcome<ScHandle> OpenServiceW(const ScHandle& manager, std::u16string_view serviceName,
                               std::uint32_t desiredAccess) {
    std::wstring name = ToWide(serviceName);
    return ScOutcome(::OpenServiceW(Sc(manager), name.c_str(), desiredAccess));
}

Outcome<ScHandle> CreateServiceW(const ScHandle& manager, const ServiceConfig& config) {
    std::wstring name = ToWide(config.serviceName);
    std::wstring display = ToWide(config.displayName);
    std::wstring path = ToWide(config.binaryPathName);
    return ScOutcome(::CreateServiceW(Sc(manager), name.c_str(), win32::OrNull(display),
                                      config.desiredAccess, config.serviceType, config.startType,
                                      config.errorControl, path.c_str(), nullptr, nullptr, nullptr,
                                      nullptr, nullptr));
}

Status StartServiceW(const ScHandle& service) {
    return win32::StatusOf(::StartServiceW(Sc(service), 0, nullptr));
}

Outcome<ServiceStatusRecord> ControlService(const ScHandle& service, std::uint32_t control) {
    SERVICE_STATUS raw{};
    if (!::ControlService(Sc(service), control, &raw))
        return Outcome<ServiceStatusRecord>(FromRaw(raw), LastError());
    return Outcome<ServiceStatusRecord>(FromRaw(raw));
}

Outcome<ServiceStatusRecord> QueryServiceStatus(const ScHandle& service) {
    SERVICE_STATUS raw{};
    if (!::QueryServiceStatus(Sc(service), &raw))
        return Outcome<ServiceStatusRecord>::Failure(LastError());
    return Outcome<ServiceStatusRecord>(FromRaw(raw));
}

Status DeleteService(const ScHandle& service) {
    return win32::StatusOf(::DeleteService(Sc(service)));
}

Status SetServiceStatus(ServiceStatusHandle handle, const ServiceStatusRecord& status) {
    SERVICE_STATUS raw = ToRaw(status);
    return win32::StatusOf(::SetServiceStatus(static_cast<SERVICE_STATUS_HANDLE>(handle), &raw));
}

} // namespace platform
