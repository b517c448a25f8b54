// What every wizard page offers the frame.
#pragma once

#include "platform/UserInterface.h"

class IPageDialog {
  public:
    // Creates the page window from its template as a modeless child of
    // parent: 1, or 0 when the window could not be created. The rectangle
    // is not used; the frame places the page afterwards.
    virtual int CreatePage(platform::WindowHandle parent, const platform::Rect& rect) = 0;
    // Takes the user's inputs over and acts on them: 1 lets the wizard go on,
    // 0 keeps the page (the page has told the user why).
    virtual int CommitPage() = 0;
    // Destroys the window, then deletes the page object itself.
    virtual void DestroyPage() = 0;
    // Sets the page's captions; once, after CreatePage and before the page shows.
    virtual void ApplyTexts() = 0;

  protected:
    // Pages delete themselves in DestroyPage, never through this interface.
    ~IPageDialog() = default;
};
