// The one queue and the one printer this service keeps in step, and where
// the system records what it knows about them.
#pragma once

#include <string_view>

namespace statusservice {

inline constexpr std::u16string_view QueueName = u"Varnoquill";
// The 8-bit model word the print interface's "Port Description" must name.
inline constexpr std::string_view ModelWord = "Varnoquill";
inline constexpr std::u16string_view VendorIdText = u"0483";
inline constexpr std::u16string_view ProductIdText = u"5741";

// Key templates under HKEY_LOCAL_MACHINE; the argument is given in 8-bit
// form. The control set is always ControlSet001.
inline constexpr const char* DeviceParametersKeyTemplate =
    "SYSTEM\\ControlSet001\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}"
    "\\%s\\#\\Device Parameters";
inline constexpr const char* UsbMonitorPortKeyTemplate =
    "SYSTEM\\ControlSet001\\Control\\Print\\Monitors\\USB Monitor\\Ports\\%s";
inline constexpr std::u16string_view UsbPrintInterfaceSuffix =
    u"#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

} // namespace statusservice
