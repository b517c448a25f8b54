#include "xml/FileReader.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/System.h"
#include "xml/Encoding.h"
#include "xml/XmlDocument.h"

namespace xml {
namespace {

constexpr std::int32_t HeadBytes = 1024;
constexpr std::uint32_t MessageBufferChars = 100;

struct ByteOrderMark {
    std::string_view bytes;
    std::u16string_view encoding;
    std::uint32_t flag;
};

constexpr std::array<ByteOrderMark, 3> ByteOrderMarks = {{
    {"\xEF\xBB\xBF", u"UTF-8", CFileReader::FlagBomUtf8},
    {"\xFF\xFE", u"UTF-16LE", CFileReader::FlagBomUtf16Le},
    {"\xFE\xFF", u"UTF-16BE", CFileReader::FlagBomUtf16Be},
}};

std::u16string FirstLine(std::u16string text) {
    return text.substr(0, text.find_first_of(u"\r\n"));
}

std::u16string SystemMessage(platform::WinError error) {
    auto message = platform::FormatMessageW(error, MessageBufferChars);
    return message ? FirstLine(std::move(message.value)) : std::u16string();
}

} // namespace

bool CFileReader::Open(std::u16string_view path) {
    using namespace platform;
    m_log.clear();
    // "rb" shares the file for reading and writing.
    auto opened = CreateFileW(path, GenericRead, FileShareRead | FileShareWrite, OpenExisting,
                              FileAttributeNormal);
    if (!opened)
        return Fail(opened.error);
    m_file = std::move(opened.value);
    m_position = 0;
    m_unitSize = 1;
    auto size = GetFileSizeEx(m_file);
    if (!size)
        return Fail(size.error);
    if (size.value > std::numeric_limits<std::int32_t>::max())
        return Fail(ErrorNotEnoughMemory);
    m_fileSize = static_cast<std::int32_t>(size.value);
    if (m_fileSize == 0)
        return true;
    if (!ReadHead())
        return false;
    DecideEncoding();
    return true;
}

bool CFileReader::ReadHead() {
    m_head.resize(static_cast<std::size_t>(std::min(m_fileSize, HeadBytes)));
    auto read =
        platform::ReadFile(m_file, m_head.data(), static_cast<std::uint32_t>(m_head.size()));
    if (!read)
        return Fail(read.error);
    if (read.value < m_head.size())
        return Fail(platform::ErrorHandleEof);
    return true;
}

void CFileReader::DecideEncoding() {
    // Bit 7 is cleared with the others: a mark left from an earlier load
    // would make a byte file read as UTF-16.
    m_flags &= ~(FlagBomUtf16Le | FlagBomUtf8 | FlagBomUtf16Be);
    bool marked = MatchByteOrderMark();
    m_headUsed = static_cast<std::size_t>(m_position);
    if (!marked) {
        auto head = platform::MultiByteToWideChar(platform::CpUtf8, m_head);
        m_encodingName = SniffDeclaredEncoding(head ? head.value : std::u16string());
    }
    if (m_encodingName.empty() && m_head[0] == '<')
        m_encodingName = u"UTF-8";
    if (marked)
        AppendLogRecord(m_log, 0, u"bom");
}

bool CFileReader::MatchByteOrderMark() {
    for (const ByteOrderMark& mark : ByteOrderMarks) {
        if (!std::string_view(m_head).starts_with(mark.bytes))
            continue;
        m_flags |= mark.flag;
        if (mark.bytes.size() == 2)
            m_unitSize = 2;
        m_encodingName = mark.encoding;
        m_position = static_cast<std::int32_t>(mark.bytes.size());
        return true;
    }
    return false;
}

bool CFileReader::ReadAll(std::u16string& text) {
    m_log.clear();
    text.clear();
    if (m_bytesToRead == 0) {
        AppendLogRecord(m_log, LogTextIsEncoding | LogNumberIsLength, u"read", m_encodingName, 0);
        return true;
    }
    if (m_flags & (FlagBomUtf16Le | FlagBomUtf16Be))
        return ReadUnits(text);
    return ReadBytes(text);
}

bool CFileReader::ReadUnits(std::u16string& text) {
    auto units = static_cast<std::size_t>(m_bytesToRead / 2);
    text.reserve(units + units / 100 + 1);
    // Room for an odd last byte, which is read but makes no unit.
    text.resize(units + 1);
    if (!ReadBlock(reinterpret_cast<char*>(text.data()), m_bytesToRead)) {
        text.clear();
        return false;
    }
    text.resize(static_cast<std::size_t>(m_unitsRead));
    RemoveNuls(text);
    if (m_flags & FlagBomUtf16Be) {
        SwapByteOrder(text);
        AppendLogRecord(m_log, 0, u"endian_swap");
    }
    return true;
}

bool CFileReader::ReadBytes(std::u16string& text) {
    std::string bytes(static_cast<std::size_t>(m_bytesToRead), '\0');
    if (!ReadBlock(bytes.data(), m_bytesToRead))
        return false;
    RemoveNuls(bytes);
    if (m_encodingName.empty())
        DetectUtf8(bytes);
    Convert(bytes, text);
    AppendLogRecord(m_log, LogTextIsEncoding | LogNumberIsLength, u"converted_to", u"UTF-16",
                    static_cast<std::int32_t>(text.size()));
    return true;
}

bool CFileReader::ReadBlock(char* buffer, std::int32_t bytes) {
    auto wanted = static_cast<std::size_t>(bytes);
    std::size_t fromHead = std::min(wanted, m_head.size() - std::min(m_headUsed, m_head.size()));
    std::copy_n(m_head.data() + m_headUsed, fromHead, buffer);
    m_headUsed += fromHead;
    if (fromHead < wanted) {
        auto rest = static_cast<std::uint32_t>(wanted - fromHead);
        auto read = platform::ReadFile(m_file, buffer + fromHead, rest);
        if (!read || read.value < rest) {
            WriteFileError(read ? platform::ErrorHandleEof : read.error);
            return false;
        }
    }
    m_position += bytes;
    m_unitsRead = bytes / m_unitSize;
    AppendLogRecord(m_log, LogTextIsEncoding | LogNumberIsLength, u"read", m_encodingName,
                    m_unitsRead);
    return true;
}

void CFileReader::RemoveNuls(std::string& bytes) {
    if (std::size_t removed = RemoveNulBytes(bytes)) {
        AppendLogRecord(m_log, LogNumberIsCount, u"nulls_removed", std::nullopt,
                        static_cast<std::int32_t>(removed));
        m_unitsRead -= static_cast<std::int32_t>(removed);
    }
}

void CFileReader::RemoveNuls(std::u16string& units) {
    if (std::size_t removed = RemoveNulUnits(units)) {
        AppendLogRecord(m_log, LogNumberIsCount, u"nulls_removed", std::nullopt,
                        static_cast<std::int32_t>(removed));
        m_unitsRead -= static_cast<std::int32_t>(removed);
    }
}

void CFileReader::DetectUtf8(std::string_view bytes) {
    if (LooksLikeUtf8(bytes)) {
        m_encodingName = u"UTF-8";
        AppendLogRecord(m_log, LogUpdate | LogTextIsEncoding, u"read", m_encodingName);
    }
    AppendLogRecord(m_log, 0, u"utf8_detection");
}

void CFileReader::Convert(std::string_view bytes, std::u16string& text) const {
    std::int32_t codePage = std::max(CodePageOf(m_encodingName), 0);
    if (codePage == CodePageOwnUtf32) {
        text = DecodeOwnUtf32(bytes);
        return;
    }
    auto converted = platform::MultiByteToWideChar(static_cast<std::uint32_t>(codePage), bytes);
    if (!converted)
        return;
    // Room for a hundredth more, for later edits; no copy when the
    // converter's text has it already.
    std::size_t units = converted.value.size();
    text = std::move(converted.value);
    text.reserve(units + units / 100);
}

bool CFileReader::Fail(platform::WinError error) {
    WriteFileError(error);
    return false;
}

void CFileReader::WriteFileError(platform::WinError error) {
    AppendLogRecord(m_log, LogTextIsMsg | LogNumberIsN, u"file_error", SystemMessage(error),
                    static_cast<std::int32_t>(error));
}

void CFileReader::Close() {
    if (m_file) {
        platform::Status closed = m_file.Close();
        if (!closed)
            WriteFileError(closed.error);
    }
    m_flags &= ~FlagsWhileReading;
}

} // namespace xml
