#include "platform/sim/SimFaults.h"

#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <vector>

namespace platform::sim {
namespace {

struct PendingFault {
    WinError error;
    std::uint32_t skip;
};

struct FaultTable {
    std::mutex lock;
    std::map<std::string, std::vector<PendingFault>, std::less<>> once;
    std::map<std::string, WinError, std::less<>> always;
    std::map<std::string, std::uint32_t, std::less<>> calls;
};

// Every name a simulated operation takes its fault under. A fault under any
// other name would never fire, and the test using it would test nothing.
const std::set<std::string_view>& KnownOperations() {
    static const std::set<std::string_view> names{
        "AddPrinterDriverW",
        "AddPrinterW",
        "CM_Get_Device_IDW",
        "CloseHandle",
        "ClosePrinter",
        "CloseServiceHandle",
        "ControlService",
        "CopyFileW",
        "CreateDialogIndirectParamW",
        "CreateDirectoryW",
        "CreateFileW",
        "CreatePen",
        "CreateServiceW",
        "CreateThread",
        "DeleteFileW",
        "DeletePrinter",
        "DeletePrinterDriverW",
        "DeleteService",
        "DestroyWindow",
        "DialogBoxIndirectParamW",
        "EnumPortsW",
        "FindClose",
        "FindFirstFileW",
        "FindNextFileW",
        "FormatMessageW",
        "GetFileAttributesW",
        "GetFileSizeEx",
        "GetModuleFileNameW",
        "GetNamedSecurityInfoW",
        "GetPrinterDriverDirectoryW",
        "GetPrinterW",
        "ImageList_Create",
        "InitCommonControlsEx",
        "LoadIconW",
        "MessageBoxW",
        "MultiByteToWideChar",
        "OpenPrinterW",
        "OpenSCManagerW",
        "OpenServiceW",
        "QueryServiceConfigW",
        "QueryServiceStatus",
        "ReadFile",
        "RegCloseKey",
        "RegOpenKeyExA",
        "RegQueryValueExA",
        "RegisterDeviceNotificationW",
        "RegisterServiceCtrlHandlerExW",
        "SHBrowseForFolderW",
        "SHGetMalloc",
        "SHGetPathFromIDListW",
        "SetDefaultDllDirectories",
        "SetDefaultPrinter",
        "SetNamedSecurityInfoW",
        "SetPrinterW",
        "SetServiceStatus",
        "SetWindowTextW",
        "SetupDiDestroyDeviceInfoList",
        "SetupDiEnumDeviceInfo",
        "SetupDiEnumDeviceInterfaces",
        "SetupDiGetClassDevsW",
        "SetupDiGetDeviceInterfaceDetailW",
        "SetupDiGetDevicePropertyW",
        "Sleep",
        "StartServiceCtrlDispatcherW",
        "StartServiceW",
        "UnregisterDeviceNotification",
        "WriteFile",
    };
    return names;
}

void RequireKnown(std::string_view operation) {
    if (!KnownOperations().count(operation))
        throw std::invalid_argument("no simulated call fails as \"" + std::string(operation) +
                                    "\"");
}

FaultTable& Table() {
    static FaultTable table;
    return table;
}

} // namespace

void FailOnce(std::string_view operation, WinError error, std::uint32_t skip) {
    RequireKnown(operation);
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.once[std::string(operation)].push_back({error, skip});
}

void FailAlways(std::string_view operation, WinError error) {
    RequireKnown(operation);
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.always[std::string(operation)] = error;
}

void ClearFaults() {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    t.once.clear();
    t.always.clear();
    t.calls.clear();
}

WinError TakeFault(std::string_view operation) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    ++t.calls[std::string(operation)];
    if (auto it = t.always.find(operation); it != t.always.end())
        return it->second;
    auto it = t.once.find(operation);
    if (it == t.once.end() || it->second.empty())
        return ErrorSuccess;
    PendingFault& next = it->second.front();
    if (next.skip > 0) {
        --next.skip;
        return ErrorSuccess;
    }
    WinError error = next.error;
    it->second.erase(it->second.begin());
    return error;
}

bool IsSimulatedOperation(std::string_view operation) {
    return KnownOperations().count(operation) != 0;
}

std::uint32_t CallCount(std::string_view operation) {
    FaultTable& t = Table();
    std::lock_guard guard(t.lock);
    auto it = t.calls.find(operation);
    return it == t.calls.end() ? 0 : it->second;
}

} // namespace platform::sim
