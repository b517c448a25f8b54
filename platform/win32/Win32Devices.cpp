#include "platform/Devices.h"

#include <windows.h>

#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>

#include "platform/win32/Win32Buffer.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"
#include "platform/win32/Win32SystemLibrary.h"

namespace platform {
namespace {

using win32::LastError;

static_assert(sizeof(GUID) == sizeof(Guid));
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);
static_assert(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) == DevBroadcastNameOffset);

GUID ToRaw(const Guid& guid) {
    GUID raw{};
    raw.Data1 = guid.data1;
    raw.Data2 = guid.data2;
    raw.Data3 = guid.data3;
    for (std::size_t i = 0; i < sizeof raw.Data4; ++i)
        raw.Data4[i] = guid.data4[i];
    return raw;
}

Guid FromRaw(const GUID& raw) {
    Guid guid;
    guid.data1 = raw.Data1;
    guid.data2 = raw.Data2;
    guid.data3 = raw.Data3;
    for (std::size_t i = 0; i < sizeof raw.Data4; ++i)
        guid.data4[i] = raw.Data4[i];
    return guid;
}

SP_DEVICE_INTERFACE_DATA ToRaw(const DeviceInterfaceData& data) {
    SP_DEVICE_INTERFACE_DATA raw{};
    raw.cbSize = sizeof raw;
    raw.InterfaceClassGuid = ToRaw(data.interfaceClassGuid);
    raw.Flags = data.flags;
    raw.Reserved = data.reserved;
    return raw;
}

SP_DEVINFO_DATA ToRaw(const DevInfoData& data) {
    SP_DEVINFO_DATA raw{};
    raw.cbSize = sizeof raw;
    raw.ClassGuid = ToRaw(data.classGuid);
    raw.DevInst = data.devInst;
    raw.Reserved = data.reserved;
    return raw;
}

HDEVINFO Set(const DevInfoHandle& set) {
    return static_cast<HDEVINFO>(set.Get());
}

using GetDevicePropertyFunction = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const DEVPROPKEY*,
                                                DEVPROPTYPE*, PBYTE, DWORD, PDWORD, DWORD);

// Bound by name: systems before Vista do not export it.
GetDevicePropertyFunction FindGetDeviceProperty() {
    HMODULE setupapi = ::GetModuleHandleW(L"Setupapi.dll");
    if (!setupapi)
        return nullptr;
    FARPROC entry = ::GetProcAddress(setupapi, "SetupDiGetDevicePropertyW");
    return reinterpret_cast<GetDevicePropertyFunction>(reinterpret_cast<void*>(entry));
}

} // namespace

Status DevInfoTraits::Close(RawHandle raw) {
    return win32::StatusOf(::SetupDiDestroyDeviceInfoList(static_cast<HDEVINFO>(raw)));
}

Outcome<DevInfoHandle> SetupDiGetClassDevsW(const Guid* classGuid, std::u16string_view enumerator,
                                            std::uint32_t flags) {
    GUID rawGuid{};
    if (classGuid)
        rawGuid = ToRaw(*classGuid);
    std::wstring wideEnumerator = win32::ToWide(enumerator);
    return win32::HandleOutcome<DevInfoHandle>(::SetupDiGetClassDevsW(
        classGuid ? &rawGuid : nullptr, win32::OrNull(wideEnumerator), nullptr, flags));
}

Outcome<DeviceInterfaceData> SetupDiEnumDeviceInterfaces(const DevInfoHandle& set,
                                                         const Guid& interfaceClass,
                                                         std::uint32_t memberIndex) {
    GUID rawClass = ToRaw(interfaceClass);
    SP_DEVICE_INTERFACE_DATA raw{};
    raw.cbSize = sizeof raw;
    if (!::SetupDiEnumDeviceInterfaces(Set(set), nullptr, &rawClass, memberIndex, &raw))
        return Outcome<DeviceInterfaceData>::Failure(LastError());
    return Outcome<DeviceInterfaceData>(
        DeviceInterfaceData{FromRaw(raw.InterfaceClassGuid), raw.Flags, raw.Reserved});
}

Outcome<std::u16string> SetupDiGetDeviceInterfaceDetailW(const DevInfoHandle& set,
                                                         const DeviceInterfaceData& interfaceData) {
    SP_DEVICE_INTERFACE_DATA raw = ToRaw(interfaceData);
    DWORD needed = 0;
    if (!::SetupDiGetDeviceInterfaceDetailW(Set(set), &raw, nullptr, 0, &needed, nullptr) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return Outcome<std::u16string>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    auto* detail = buffer.As<SP_DEVICE_INTERFACE_DETAIL_DATA_W>();
    // The size of the fixed part only, as the API demands.
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!::SetupDiGetDeviceInterfaceDetailW(Set(set), &raw, detail, buffer.Size(), &needed,
                                            nullptr))
        return Outcome<std::u16string>::Failure(LastError());
    return Outcome<std::u16string>(win32::FromWide(detail->DevicePath));
}

Outcome<DevInfoData> SetupDiEnumDeviceInfo(const DevInfoHandle& set, std::uint32_t memberIndex) {
    SP_DEVINFO_DATA raw{};
    raw.cbSize = sizeof raw;
    if (!::SetupDiEnumDeviceInfo(Set(set), memberIndex, &raw))
        return Outcome<DevInfoData>::Failure(LastError());
    return Outcome<DevInfoData>(DevInfoData{FromRaw(raw.ClassGuid), raw.DevInst, raw.Reserved});
}

bool HasSetupDiGetDevicePropertyW() {
    return FindGetDeviceProperty() != nullptr;
}

Outcome<DevProperty> SetupDiGetDevicePropertyW(const DevInfoHandle& set, const DevInfoData& device,
                                               const DevPropKey& key, std::uint32_t bufferSize) {
    GetDevicePropertyFunction getProperty = FindGetDeviceProperty();
    if (!getProperty)
        return Outcome<DevProperty>::Failure(ERROR_PROC_NOT_FOUND);
    SP_DEVINFO_DATA rawDevice = ToRaw(device);
    DEVPROPKEY rawKey{ToRaw(key.fmtid), key.pid};
    DevProperty property;
    property.bytes.resize(bufferSize);
    DEVPROPTYPE type = 0;
    DWORD required = 0;
    if (!getProperty(Set(set), &rawDevice, &rawKey, &type,
                     bufferSize ? property.bytes.data() : nullptr, bufferSize, &required, 0))
        return Outcome<DevProperty>::Failure(LastError());
    property.type = type;
    property.bytes.resize(required);
    return Outcome<DevProperty>(std::move(property));
}

Outcome<std::u16string> CM_Get_Device_IDW(std::uint32_t devInst, std::uint32_t bufferChars) {
    static const win32::CSystemFunction<decltype(&::CM_Get_Device_IDW)> getDeviceId(
        L"cfgmgr32.dll", "CM_Get_Device_IDW");
    if (!getDeviceId)
        return Outcome<std::u16string>::Failure(getDeviceId.Error());
    std::wstring buffer(bufferChars, L'\0');
    CONFIGRET result = getDeviceId.Get()(devInst, buffer.data(), bufferChars, 0);
    if (result != CR_SUCCESS)
        return Outcome<std::u16string>::Failure(result);
    return Outcome<std::u16string>(win32::FromWide(buffer.c_str()));
}

Status DeviceNotifyTraits::Close(RawHandle raw) {
    return win32::StatusOf(::UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(raw)));
}

Outcome<DeviceNotifyHandle>
RegisterDeviceNotificationW(RawHandle recipient, const DevBroadcastDeviceInterfaceFilter& filter,
                            std::uint32_t flags) {
    DEV_BROADCAST_DEVICEINTERFACE_W raw{};
    raw.dbcc_size = filter.size;
    raw.dbcc_devicetype = filter.deviceType;
    raw.dbcc_reserved = filter.reserved;
    raw.dbcc_classguid = ToRaw(filter.classGuid);
    return win32::HandleOutcome<DeviceNotifyHandle>(
        ::RegisterDeviceNotificationW(recipient, &raw, flags));
}

} // namespace platform
