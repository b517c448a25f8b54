// Buffers for the API's two-step calls: the size the first call asked for,
// with room to spare, zeroed, aligned for the records placed in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::win32 {

constexpr std::uint32_t BufferSlack = 100;

class CRecordBuffer {
  public:
    explicit CRecordBuffer(std::uint32_t needed)
        : m_words((std::size_t{needed} + BufferSlack + sizeof(std::max_align_t) - 1) /
                  sizeof(std::max_align_t)),
          m_size(needed + BufferSlack) {}

    unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(m_words.data()); }
    std::uint32_t Size() const { return m_size; }
    template <class T> T* As() { return reinterpret_cast<T*>(m_words.data()); }

  private:
    std::vector<std::max_align_t> m_words;
    std::uint32_t m_size;
};

} // namespace platform::win32
