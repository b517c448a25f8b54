#include "platform/sim/SimIconvConverter.h"

#include <cerrno>
#include <vector>

#include <iconv.h>

namespace platform::sim {
namespace {

struct CodePageName {
    std::uint32_t codePage;
    const char* iconvName;
};

// Windows code page -> the host converter that decodes the same bytes. The
// code pages Windows itself refuses here (1200, 1201, 12000, 12001) and
// those iconv lacks are missing on purpose.
constexpr CodePageName Names[] = {
    {154, "PT154"},
    {437, "CP437"},
    {708, "ASMO-708"},
    {737, "CP737"},
    {775, "CP775"},
    {850, "CP850"},
    {852, "CP852"},
    {855, "CP855"},
    {857, "CP857"},
    {858, "CP858"},
    {860, "CP860"},
    {861, "CP861"},
    {862, "CP862"},
    {863, "CP863"},
    {864, "CP864"},
    {865, "CP865"},
    {866, "CP866"},
    {869, "CP869"},
    {874, "CP874"},
    {932, "CP932"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "CP950"},
    {1125, "CP1125"},
    {1133, "CP1133"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, "CP1252"},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
    {1361, "JOHAB"},
    {10000, "MACINTOSH"},
    {10007, "MAC-CYRILLIC"},
    {10017, "MAC-UK"},
    {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},
    {20106, "DIN_66003"},
    {20107, "SEN_850200_B"},
    {20108, "NS_4551-1"},
    {20127, "ANSI_X3.4-1968"},
    {20261, "T.61-8BIT"},
    {20269, "ISO_6937"},
    {20866, "KOI8-R"},
    {20932, "EUC-JP"},
    {20936, "GB2312"},
    {20949, "EUC-KR"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP-3"},
    {50222, "ISO-2022-JP-3"},
    {50225, "ISO-2022-KR"},
    {50227, "ISO-2022-CN"},
    {51932, "EUC-JP-MS"},
    {51936, "EUC-CN"},
    {51949, "EUC-KR"},
    {54936, "GB18030"},
    {65000, "UTF-7"},
};

bool IsWindowsSingleByte(std::uint32_t codePage) {
    return codePage == 874 || (codePage >= 1250 && codePage <= 1258);
}

// What a byte the converter rejects becomes. The Windows tables of the
// single-byte ANSI code pages pass their unassigned C1 bytes through, and
// Japanese uses the middle dot as its default character.
char16_t ReplacementOf(std::uint32_t codePage, unsigned char byte) {
    if (IsWindowsSingleByte(codePage) && byte >= 0x80 && byte <= 0x9F)
        return byte;
    if (codePage == 932)
        return 0x30FB;
    return u'?';
}

void AppendUtf16Le(std::u16string& out, const std::vector<char>& buffer, std::size_t bytes) {
    for (std::size_t i = 0; i + 1 < bytes; i += 2) {
        unsigned low = static_cast<unsigned char>(buffer[i]);
        unsigned high = static_cast<unsigned char>(buffer[i + 1]);
        out.push_back(static_cast<char16_t>(low | (high << 8)));
    }
}

class CIconv {
  public:
    explicit CIconv(const char* from) : m_cd(iconv_open("UTF-16LE", from)) {}
    ~CIconv() {
        if (IsOpen())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool IsOpen() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; false when it stopped at a byte it rejects.
    bool Convert(const char*& in, std::size_t& inLeft, std::u16string& out) {
        std::vector<char> buffer(4 * inLeft + 16);
        while (inLeft > 0) {
            char* inPtr = const_cast<char*>(in);
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            AppendUtf16Le(out, buffer, buffer.size() - outLeft);
            in = inPtr;
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

    // Writes out what the converter still holds: CP1255 and CP1258 keep the
    // last letter back in case a combining mark follows.
    void Flush(std::u16string& out) {
        std::vector<char> buffer(64);
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft);
        AppendUtf16Le(out, buffer, buffer.size() - outLeft);
    }

  private:
    iconv_t m_cd;
};

} // namespace

const char* IconvNameOf(std::uint32_t codePage) {
    for (const CodePageName& entry : Names)
        if (entry.codePage == codePage)
            return entry.iconvName;
    return nullptr;
}

std::optional<std::u16string> ConvertWithIconv(std::uint32_t codePage, std::string_view bytes) {
    const char* name = IconvNameOf(codePage);
    if (!name)
        return std::nullopt;
    CIconv converter(name);
    if (!converter.IsOpen())
        return std::nullopt;
    std::u16string out;
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    while (!converter.Convert(in, inLeft, out)) {
        out.push_back(ReplacementOf(codePage, static_cast<unsigned char>(*in)));
        ++in;
        --inLeft;
    }
    converter.Flush(out);
    return out;
}

} // namespace platform::sim
