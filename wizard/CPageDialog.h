// The behaviour the five pages share: a modeless child dialog of the frame
// from the page's template, deleting itself when destroyed.
#pragma once

#include <cstdint>
#include <string>

#include "framework/CDialogEx.h"
#include "framework/CImageList.h"
#include "framework/Controls.h"
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
    // The caption of the pages' own message boxes.
    static constexpr char16_t BoxCaption[] = u"Setup";

    // Gives the list the printer icon as its one image, unless it has its
    // images already; without them the models are listed by name alone.
    static void AttachPrinterIcon(CListCtrl& list, CImageList& images, std::uint32_t colourFlags);
    // The whole model name at the list's selection mark. With none, the user
    // is told so in a box and the name is empty.
    std::u16string SelectedModel(const CListCtrl& list);

    platform::WindowHandle m_owner;
    ISetupDialog& m_setup;
};
