// The simulated machine's MultiByteToWideChar: its own UTF-8 decoder, the
// host's iconv for the other code pages, and Windows' failures for the rest.
#include "platform/System.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimIconvConverter.h"
#include "platform/sim/SimUtf8Decoder.h"

namespace platform {

Outcome<std::u16string> MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes) {
    if (WinError e = sim::TakeFault("MultiByteToWideChar"))
        return Outcome<std::u16string>::Failure(e);
    // Windows refuses an empty input rather than returning an empty text.
    if (bytes.empty())
        return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
    if (codePage == CpAcp)
        codePage = GetACP();
    if (codePage == CpUtf8)
        return sim::DecodeUtf8Text(bytes);
    if (auto converted = sim::ConvertWithIconv(codePage, bytes))
        return std::move(*converted);
    return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
}

} // namespace platform
