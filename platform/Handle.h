// A move-only owner of one platform handle. The traits say how a handle of
// its kind is closed; each platform defines the traits' Close in its own
// files, so the owner itself is the same everywhere.
//
// The seam normalises invalid handles to nullptr (Windows mixes NULL and
// INVALID_HANDLE_VALUE by API); platform/win32 translates at the boundary.
#pragma once

#include "platform/Error.h"

namespace platform {

using RawHandle = void*;

template <class Traits> class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(RawHandle raw) : m_raw(raw) {}
    ~ScopedHandle() { Reset(); }

    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : m_raw(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    RawHandle Get() const { return m_raw; }
    bool IsValid() const { return m_raw != nullptr; }
    explicit operator bool() const { return IsValid(); }

    RawHandle Release() {
        RawHandle raw = m_raw;
        m_raw = nullptr;
        return raw;
    }

    // Closes now and says whether closing worked (callers that report a
    // failed close, such as file loading, need the code).
    Status Close() {
        if (!m_raw)
            return Failure(ErrorInvalidHandle);
        return Traits::Close(Release());
    }

    void Reset(RawHandle raw = nullptr) {
        if (m_raw)
            Traits::Close(m_raw);
        m_raw = raw;
    }

  private:
    RawHandle m_raw = nullptr;
};

} // namespace platform
