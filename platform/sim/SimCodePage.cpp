// Placeholder conversion until the full converter lands: ASCII and
// ISO-8859-1 bytes only.
#include "platform/System.h"
#include "platform/sim/SimFaults.h"

namespace platform {

Outcome<std::u16string> MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes) {
    (void)codePage;
    if (WinError e = sim::TakeFault("MultiByteToWideChar"))
        return Outcome<std::u16string>::Failure(e);
    std::u16string out;
    for (char c : bytes)
        out.push_back(static_cast<unsigned char>(c));
    return out;
}

} // namespace platform
