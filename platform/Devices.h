// Device installation functions (setupapi, configuration manager) and device
// notifications (user32).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    friend bool operator==(const Guid&, const Guid&) = default;
};

// {a5dcbf10-6530-11d2-901f-00c04fb951ed}
constexpr Guid GuidDevinterfaceUsbDevice{
    0xa5dcbf10, 0x6530, 0x11d2, {0x90, 0x1f, 0x00, 0xc0, 0x4f, 0xb9, 0x51, 0xed}};
// {28d78fad-5a12-11d1-ae5b-0000f803a8c2}
constexpr Guid GuidDevinterfaceUsbPrint{
    0x28d78fad, 0x5a12, 0x11d1, {0xae, 0x5b, 0x00, 0x00, 0xf8, 0x03, 0xa8, 0xc2}};

constexpr std::uint32_t DigcfPresent = 0x2;
constexpr std::uint32_t DigcfAllClasses = 0x4;
constexpr std::uint32_t DigcfDeviceInterface = 0x10;

struct DevInfoTraits {
    static Status Close(RawHandle raw); // SetupDiDestroyDeviceInfoList
};
using DevInfoHandle = ScopedHandle<DevInfoTraits>;

struct DeviceInterfaceData {
    Guid interfaceClassGuid;
    std::uint32_t flags = 0;
    std::uintptr_t reserved = 0;
};

struct DevInfoData {
    Guid classGuid;
    std::uint32_t devInst = 0;
    std::uintptr_t reserved = 0;
};

// A device property key (DEVPROPKEY).
struct DevPropKey {
    Guid fmtid;
    std::uint32_t pid = 0;
};
// {540b947e-8b40-45bc-a8a2-6a0b894cbda2}, 4
constexpr DevPropKey DevpkeyDeviceBusReportedDeviceDesc{
    {0x540b947e, 0x8b40, 0x45bc, {0xa8, 0xa2, 0x6a, 0x0b, 0x89, 0x4c, 0xbd, 0xa2}}, 4};
// {4340a6c5-93fa-4706-972c-7b648008a5a7}, 9
constexpr DevPropKey DevpkeyDeviceChildren{
    {0x4340a6c5, 0x93fa, 0x4706, {0x97, 0x2c, 0x7b, 0x64, 0x80, 0x08, 0xa5, 0xa7}}, 9};

constexpr std::uint32_t DevpropTypeString = 0x12;
constexpr std::uint32_t DevpropTypeStringList = 0x2012;

struct DevProperty {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes; // the property's value as Windows stores it
};

// classGuid may be null (all classes with DigcfAllClasses); an empty
// enumerator is passed as none.
Outcome<DevInfoHandle> SetupDiGetClassDevsW(const Guid* classGuid, std::u16string_view enumerator,
                                            std::uint32_t flags);
// No device filter. ErrorNoMoreItems past the last interface.
Outcome<DeviceInterfaceData> SetupDiEnumDeviceInterfaces(const DevInfoHandle& set,
                                                         const Guid& interfaceClass,
                                                         std::uint32_t memberIndex);
// The interface's device path.
Outcome<std::u16string> SetupDiGetDeviceInterfaceDetailW(const DevInfoHandle& set,
                                                         const DeviceInterfaceData& interfaceData);
// ErrorNoMoreItems past the last device.
Outcome<DevInfoData> SetupDiEnumDeviceInfo(const DevInfoHandle& set, std::uint32_t memberIndex);
// Whether setupapi exports SetupDiGetDevicePropertyW (looked up by name on
// Windows: systems before Vista lack it).
bool HasSetupDiGetDevicePropertyW();
// bufferSize bytes at most, as the caller's buffer would hold;
// ErrorInsufficientBuffer when the value is larger.
Outcome<DevProperty> SetupDiGetDevicePropertyW(const DevInfoHandle& set, const DevInfoData& device,
                                               const DevPropKey& key, std::uint32_t bufferSize);

// Configuration manager results are CONFIGRET codes, not system error codes.
constexpr std::uint32_t CrSuccess = 0x0;
constexpr std::uint32_t CrInvalidDevnode = 0x5;
constexpr std::uint32_t CrNoSuchDevnode = 0xD;
constexpr std::uint32_t CrBufferSmall = 0x1A;

// The instance ID of a device node, at most bufferChars characters with the
// terminator; the error field holds a CONFIGRET.
Outcome<std::u16string> CM_Get_Device_IDW(std::uint32_t devInst, std::uint32_t bufferChars);

// --- Device notifications -------------------------------------------------

constexpr std::uint32_t DeviceNotifyServiceHandle = 0x1;
constexpr std::uint32_t DbtDevtypDeviceInterface = 5;
constexpr std::uint32_t DbtDeviceArrival = 0x8000;
constexpr std::uint32_t DbtDeviceRemoveComplete = 0x8004;

// DEV_BROADCAST_DEVICEINTERFACE_W as a filter: the name is always empty.
struct DevBroadcastDeviceInterfaceFilter {
    std::uint32_t size = 32;
    std::uint32_t deviceType = DbtDevtypDeviceInterface;
    std::uint32_t reserved = 0;
    Guid classGuid;
};

struct DeviceNotifyTraits {
    static Status Close(RawHandle raw); // UnregisterDeviceNotification
};
using DeviceNotifyHandle = ScopedHandle<DeviceNotifyTraits>;

Outcome<DeviceNotifyHandle>
RegisterDeviceNotificationW(RawHandle recipient, const DevBroadcastDeviceInterfaceFilter& filter,
                            std::uint32_t flags);

// Byte offset of dbcc_name in DEV_BROADCAST_DEVICEINTERFACE_W: the record's
// layout is the platform's ABI, the same on every Windows.
constexpr std::size_t DevBroadcastNameOffset = 28;

// The device interface path carried by the record that device event data
// points to.
inline std::u16string DeviceInterfaceNameOf(const void* eventData) {
    std::u16string name;
    if (!eventData)
        return name;
    const auto* bytes = static_cast<const unsigned char*>(eventData) + DevBroadcastNameOffset;
    for (std::size_t i = 0;; i += 2) {
        char16_t unit;
        std::memcpy(&unit, bytes + i, sizeof unit);
        if (unit == u'\0')
            return name;
        name.push_back(unit);
    }
}

} // namespace platform
