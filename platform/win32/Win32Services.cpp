#include "platform/Services.h"

#include <windows.h>

#include <cwchar>

#include "platform/win32/Win32Buffer.h"
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

Outcome<QueryServiceConfigRecord> QueryServiceConfigW(const ScHandle& service) {
    DWORD needed = 0;
    if (!::QueryServiceConfigW(Sc(service), nullptr, 0, &needed) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return Outcome<QueryServiceConfigRecord>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    auto* raw = buffer.As<QUERY_SERVICE_CONFIGW>();
    if (!::QueryServiceConfigW(Sc(service), raw, buffer.Size(), &needed))
        return Outcome<QueryServiceConfigRecord>::Failure(LastError());
    QueryServiceConfigRecord record;
    record.serviceType = raw->dwServiceType;
    record.startType = raw->dwStartType;
    record.errorControl = raw->dwErrorControl;
    record.binaryPathName = win32::FromWide(raw->lpBinaryPathName);
    record.loadOrderGroup = win32::FromWide(raw->lpLoadOrderGroup);
    record.tagId = raw->dwTagId;
    for (const wchar_t* name = raw->lpDependencies; name && *name; name += std::wcslen(name) + 1)
        record.dependencies.push_back(win32::FromWide(name));
    record.serviceStartName = win32::FromWide(raw->lpServiceStartName);
    record.displayName = win32::FromWide(raw->lpDisplayName);
    return record;
}

Status DeleteService(const ScHandle& service) {
    return win32::StatusOf(::DeleteService(Sc(service)));
}

Status SetServiceStatus(ServiceStatusHandle handle, const ServiceStatusRecord& status) {
    SERVICE_STATUS raw = ToRaw(status);
    return win32::StatusOf(::SetServiceStatus(static_cast<SERVICE_STATUS_HANDLE>(handle), &raw));
}

} // namespace platform
