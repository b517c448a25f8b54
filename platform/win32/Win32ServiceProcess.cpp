// The service process side. The dispatcher and the handler call back with
// wide strings and the platform's calling convention, so trampolines stand
// between them and the seam's functions; a process has one dispatcher, so
// the user's table lives in static storage.
#include "platform/Services.h"

#include <array>
#include <deque>

#include <windows.h>

#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

using win32::FromWide;
using win32::ToWide;

constexpr std::size_t MaxServices = 4;

std::array<ServiceMainFunction, MaxServices> g_serviceMains{};

template <std::size_t Index> void WINAPI ServiceMainTrampoline(DWORD argc, LPWSTR* argv) {
    std::vector<std::u16string> arguments;
    for (DWORD i = 0; i < argc; ++i)
        arguments.push_back(FromWide(argv[i]));
    std::vector<char16_t*> pointers;
    for (std::u16string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    g_serviceMains[Index](argc, pointers.data());
}

constexpr std::array<LPSERVICE_MAIN_FUNCTIONW, MaxServices> Trampolines{
    ServiceMainTrampoline<0>, ServiceMainTrampoline<1>, ServiceMainTrampoline<2>,
    ServiceMainTrampoline<3>};

struct HandlerBinding {
    HandlerFunctionEx handler;
    void* context;
};

// Each registration keeps its binding for the life of the process, as
// Windows keeps the handler.
SRWLOCK g_bindingsLock = SRWLOCK_INIT;
std::deque<HandlerBinding> g_bindings;

HandlerBinding* Bind(HandlerFunctionEx handler, void* context) {
    ::AcquireSRWLockExclusive(&g_bindingsLock);
    HandlerBinding* binding = &g_bindings.emplace_back(HandlerBinding{handler, context});
    ::ReleaseSRWLockExclusive(&g_bindingsLock);
    return binding;
}

DWORD WINAPI HandlerTrampoline(DWORD control, DWORD eventType, LPVOID eventData, LPVOID context) {
    auto* binding = static_cast<HandlerBinding*>(context);
    return binding->handler(control, eventType, eventData, binding->context);
}

} // namespace

Status StartServiceCtrlDispatcherW(const std::vector<ServiceTableEntry>& table) {
    if (table.size() > MaxServices)
        return Failure(ErrorInvalidParameter);
    std::vector<std::wstring> names;
    for (const ServiceTableEntry& entry : table)
        names.push_back(ToWide(entry.serviceName));
    std::vector<SERVICE_TABLE_ENTRYW> raw;
    for (std::size_t i = 0; i < table.size(); ++i) {
        g_serviceMains[i] = table[i].serviceMain;
        raw.push_back(SERVICE_TABLE_ENTRYW{names[i].data(), Trampolines[i]});
    }
    raw.push_back(SERVICE_TABLE_ENTRYW{nullptr, nullptr});
    return win32::StatusOf(::StartServiceCtrlDispatcherW(raw.data()));
}

Outcome<ServiceStatusHandle> RegisterServiceCtrlHandlerExW(std::u16string_view serviceName,
                                                           HandlerFunctionEx handler,
                                                           void* context) {
    std::wstring name = ToWide(serviceName);
    SERVICE_STATUS_HANDLE raw =
        ::RegisterServiceCtrlHandlerExW(name.c_str(), HandlerTrampoline, Bind(handler, context));
    if (!raw)
        return Outcome<ServiceStatusHandle>::Failure(win32::LastError());
    return Outcome<ServiceStatusHandle>(raw);
}

} // namespace platform
