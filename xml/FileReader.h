// Reads one file for a document: recognises its byte-order mark or declared
// encoding on opening, then reads it whole and converts it to UTF-16,
// writing a result-log record for each step.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace xml {

class CFileReader {
  public:
    static constexpr std::uint32_t FlagBomUtf16Le = 1;
    static constexpr std::uint32_t FlagBomUtf8 = 4;
    static constexpr std::uint32_t FlagReading = 16;
    static constexpr std::uint32_t FlagBomUtf16Be = 128;
    // Bits 4 to 6: what the reader is doing, cleared once it is done.
    static constexpr std::uint32_t FlagsWhileReading = 0x70;

    explicit CFileReader(std::uint32_t flags) : m_flags(flags) {}

    bool Open(std::u16string_view path);
    bool ReadAll(std::u16string& text);
    void Close();

    void SetBytesToRead(std::int32_t bytes) { m_bytesToRead = bytes; }
    std::int32_t FileSize() const { return m_fileSize; }
    std::int32_t Position() const { return m_position; }
    std::uint32_t Flags() const { return m_flags; }
    const std::u16string& Log() const { return m_log; }

  private:
    bool ReadHead();
    void DecideEncoding();
    bool MatchByteOrderMark();
    bool ReadUnits(std::u16string& text);
    bool ReadBytes(std::u16string& text);
    bool ReadBlock(char* buffer, std::int32_t bytes);
    void RemoveNuls(std::string& bytes);
    void RemoveNuls(std::u16string& units);
    void DetectUtf8(std::string_view bytes);
    void Convert(std::string_view bytes, std::u16string& text) const;
    bool Fail(platform::WinError error);
    void WriteFileError(platform::WinError error);

    platform::FileHandle m_file;
    std::uint32_t m_flags = 0;
    std::int32_t m_bytesToRead = 0;
    std::int32_t m_fileSize = 0;
    std::int32_t m_position = 0;
    std::int32_t m_unitSize = 1;
    std::int32_t m_unitsRead = 0;
    std::u16string m_log;
    std::u16string m_encodingName;
    // The first bytes, read on opening; the seam cannot seek, so the read
    // that follows takes its start from here instead of reading it again.
    std::string m_head;
    std::size_t m_headUsed = 0;
};

} // namespace xml
