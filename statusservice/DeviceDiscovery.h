// Finding the printer among the present USB devices.
#pragma once

#include <string>
#include <string_view>

#include "platform/Files.h"

namespace statusservice {

// Whether a device interface path carries the printer's vendor and product
// ids (case-sensitive, anywhere in the path).
bool CarriesPrinterIds(std::u16string_view devicePath);
// Whether the USB print interface of the device behind the path describes
// itself as this model.
bool IsOwnPrinter(std::u16string devicePath);
// The first attached printer opened for exclusive reading and writing, or
// an invalid handle.
platform::FileHandle OpenPrinterDevice();

} // namespace statusservice
