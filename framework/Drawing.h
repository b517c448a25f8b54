// Painting: the paint context of one WM_PAINT, and a pen selected into it
// for as long as the pen object lives.
#pragma once

#include <cstdint>

#include "platform/UserInterface.h"

class CPaintDC {
  public:
    explicit CPaintDC(platform::WindowHandle window) : m_window(window) {
        auto paint = platform::BeginPaint(window);
        if (paint)
            m_paint = paint.value;
    }
    ~CPaintDC() {
        if (m_paint.dc)
            platform::EndPaint(m_window, m_paint);
    }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    platform::DeviceContext Get() const { return m_paint.dc; }
    bool MoveTo(std::int32_t x, std::int32_t y) { return platform::MoveToEx(Get(), x, y).Ok(); }
    bool LineTo(std::int32_t x, std::int32_t y) { return platform::LineTo(Get(), x, y).Ok(); }
    bool DrawIcon(std::int32_t x, std::int32_t y, platform::IconHandle icon) {
        return platform::DrawIcon(Get(), x, y, icon).Ok();
    }

  private:
    platform::WindowHandle m_window;
    platform::PaintStruct m_paint;
};

// A solid pen, selected into the context until the object ends.
class CSelectedPen {
  public:
    CSelectedPen(CPaintDC& dc, int width, std::uint32_t colour) : m_dc(dc) {
        auto pen = platform::CreatePen(platform::PsSolid, width, colour);
        if (!pen)
            return;
        m_pen = std::move(pen.value);
        auto before = platform::SelectObject(dc.Get(), m_pen.Get());
        if (before)
            m_before = before.value;
    }
    ~CSelectedPen() {
        // The pen must leave the context before it is deleted.
        if (m_before)
            platform::SelectObject(m_dc.Get(), m_before);
    }
    CSelectedPen(const CSelectedPen&) = delete;
    CSelectedPen& operator=(const CSelectedPen&) = delete;

    bool Ok() const { return m_before != nullptr; }

  private:
    CPaintDC& m_dc;
    platform::GdiObject m_pen;
    platform::RawHandle m_before = nullptr;
};
