// Placeholder system messages until the full table lands.
#include "platform/System.h"
#include "platform/sim/SimFaults.h"

namespace platform {

Outcome<std::u16string> FormatMessageW(WinError messageId, std::uint32_t bufferChars) {
    (void)messageId;
    (void)bufferChars;
    if (WinError e = sim::TakeFault("FormatMessageW"))
        return Outcome<std::u16string>::Failure(e);
    return Outcome<std::u16string>::Failure(317);
}

} // namespace platform
