// What a simulated file handle points at: a regular file under the machine's
// root folder or a device file whose reads a test scripts. Both areas hand
// out handles of this one kind, so ReadFile and CloseHandle need not know
// which they hold.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "platform/Error.h"

namespace platform::sim {

class ISimFile {
  public:
    virtual ~ISimFile() = default;
    virtual Outcome<std::uint32_t> Read(void* buffer, std::uint32_t bytesToRead) = 0;
    virtual Outcome<std::uint32_t> Write(const void* buffer, std::uint32_t bytesToWrite) = 0;
    virtual Outcome<std::int64_t> Size() = 0;
};

// Opens a device path ("\\?\..." or "\\.\..."); installed by the simulated
// device area. Without one, device paths are not found.
using DeviceOpener = std::function<Outcome<std::unique_ptr<ISimFile>>(
    std::u16string_view path, std::uint32_t desiredAccess, std::uint32_t shareMode)>;
void SetDeviceOpener(DeviceOpener opener);

} // namespace platform::sim
