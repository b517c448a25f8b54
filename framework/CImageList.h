// An image list the object owns: destroyed with it.
#pragma once

#include <cstdint>

#include "platform/UserInterface.h"

class CImageList {
  public:
    bool Create(int cx, int cy, std::uint32_t flags, int initial, int grow) {
        auto list = platform::ImageList_Create(cx, cy, flags, initial, grow);
        if (list)
            m_list = std::move(list.value);
        return list.Ok();
    }
    // The icon's index, or -1.
    int Add(platform::IconHandle icon) {
        auto index = platform::ImageList_ReplaceIcon(m_list.Get(), -1, icon);
        return index ? index.value : -1;
    }
    int GetImageCount() const { return platform::ImageList_GetImageCount(m_list.Get()); }
    platform::RawHandle GetSafeHandle() const { return m_list.Get(); }

  private:
    platform::ImageList m_list;
};
