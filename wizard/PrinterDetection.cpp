#include "wizard/PrinterDetection.h"

#include <algorithm>

#include "platform/Devices.h"

using namespace platform;

namespace {

constexpr std::u16string_view VendorId = u"0483";
constexpr std::u16string_view ProductId = u"5741";
constexpr std::uint32_t DeviceIdChars = 200;
constexpr std::uint32_t PropertyBytes = 8192;
constexpr std::size_t PortChars = 6;
constexpr std::size_t ModelWordChars = 10;

// The first string of a REG_MULTI_SZ-style list of UTF-16 strings.
std::u16string FirstString(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == u'\0')
            break;
        text += unit;
    }
    return text;
}

} // namespace

bool ChildNamesModel(std::u16string_view childId, std::u16string_view modelName) {
    std::size_t backslash = childId.find(u'\\');
    std::u16string_view after =
        backslash == std::u16string_view::npos ? childId : childId.substr(backslash + 1);
    after = after.substr(0, ModelWordChars);
    std::u16string word(modelName);
    std::erase(word, u'-');
    return word == after;
}

PrinterDetection DetectPrinter(std::u16string_view modelName) {
    PrinterDetection found;
    bool canReadProperties = HasSetupDiGetDevicePropertyW();
    auto set = SetupDiGetClassDevsW(nullptr, u"USB", DigcfPresent | DigcfAllClasses);
    if (!set)
        return found;
    for (std::uint32_t index = 0;; ++index) {
        auto device = SetupDiEnumDeviceInfo(set.value, index);
        if (!device)
            break;
        auto id = CM_Get_Device_IDW(device.value.devInst, DeviceIdChars);
        if (!id)
            continue;
        if (id.value.find(VendorId) == std::u16string::npos ||
            id.value.find(ProductId) == std::u16string::npos)
            continue;
        if (!canReadProperties)
            continue;
        // Read only to be sure the device answers; its text is not needed.
        if (!SetupDiGetDevicePropertyW(set.value, device.value, DevpkeyDeviceBusReportedDeviceDesc,
                                       PropertyBytes))
            continue;
        auto children = SetupDiGetDevicePropertyW(set.value, device.value, DevpkeyDeviceChildren,
                                                  PropertyBytes);
        if (!children)
            continue;
        std::u16string child = FirstString(children.value.bytes);
        // Only the printer of the chosen model gives its port: with two
        // printers attached the queue goes onto the right one's port.
        if (!ChildNamesModel(child, modelName))
            continue;
        found.detected = true;
        found.port = child.size() <= PortChars ? child : child.substr(child.size() - PortChars);
    }
    return found;
}
