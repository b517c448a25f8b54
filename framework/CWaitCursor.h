// The wait cursor for the object's life; the cursor before comes back after.
#pragma once

#include "platform/UserInterface.h"

class CWaitCursor {
  public:
    CWaitCursor() {
        auto wait = platform::LoadCursorW(platform::IdcWait);
        // Without the system's wait cursor the work runs under the cursor there is.
        if (wait)
            m_before = platform::SetCursor(wait.value);
        m_set = wait.Ok();
    }
    ~CWaitCursor() {
        if (m_set)
            platform::SetCursor(m_before);
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

  private:
    platform::CursorHandle m_before = nullptr;
    bool m_set = false;
};
