// The behaviour the five pages share: a modeless child dialog of the frame
// from the page's template, deleting itself when destroyed.
#pragma once

#include <cstdint>

#include "framework/CDialogEx.h"
#include "wizard/IPageDialog.h"
#include "wizard/ISetupDialog.h"

class CPageDialog : public CDialogEx, public IPageDialog {
  public:
    CPageDialog(std::uint16_t templateId, platform::WindowHandle owner, ISetupDialog& setup)
        : CDialogEx(templateId, owner), m_owner(owner), m_setup(setup) {}

    int CreatePage(platform::WindowHandle parent, const platform::Rect&) override {
        if (!Create(parent))
            return 0;
        // The template makes it a child already; the parent is set all the same.
        platform::SetParent(GetSafeHwnd(), parent);
        return 1;
    }
    int CommitPage() override { return 1; }
    void DestroyPage() override {
        DestroyWindow();
        delete this;
    }
    void ApplyTexts() override {}

  protected:
    platform::WindowHandle m_owner;
    ISetupDialog& m_setup;
};
