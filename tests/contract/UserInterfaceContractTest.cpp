// The window calls against the real controls (under Wine, with a display)
// and against the simulated desktop: Setup's own templates, the controls'
// behaviour the wizard relies on, and the errors of wrong ids and windows.
#include <vector>

#include "platform/UserInterface.h"
#include "resources/DialogTemplates.h"
#include "resources/ResourceIds.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

struct Command {
    std::uint16_t id;
    std::uint16_t code;
    friend bool operator==(const Command&, const Command&) = default;
};

void PrintTo(const Command& command, std::ostream* out) {
    *out << "command " << command.id << " code " << command.code;
}

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}

std::intptr_t Recorder(WindowHandle, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    if (message == WmCommand)
        Commands().push_back({static_cast<std::uint16_t>(wParam & 0xFFFF),
                              static_cast<std::uint16_t>(wParam >> 16)});
    if (message == WmInitDialog)
        return lParam; // the creator's parameter says whether the focus is set
    return 0;
}

std::intptr_t EndAtOnce(WindowHandle window, std::uint32_t message, std::uintptr_t,
                        std::intptr_t lParam) {
    if (message == WmInitDialog)
        EndDialog(window, lParam);
    return 0;
}

class UserInterfaceContract : public ContractTest {
  protected:
    void SetUp() override {
        ContractTest::SetUp();
        Commands().clear();
        auto frame =
            CreateDialogIndirectParamW(*FindDialogTemplate(IddSetupFrame), nullptr, Recorder, 1);
        ASSERT_TRUE(frame) << frame.error;
        m_frame = frame.value;
    }
    void TearDown() override {
        if (m_frame) {
            EXPECT_TRUE(DestroyWindow(m_frame));
        }
    }

    // A page of Setup's, a child of the frame.
    WindowHandle Page(std::uint16_t id) {
        auto page = CreateDialogIndirectParamW(*FindDialogTemplate(id), m_frame, Recorder, 0);
        EXPECT_TRUE(page) << page.error;
        return page.value;
    }
    static WindowHandle Item(WindowHandle dialog, std::int32_t id) {
        auto item = GetDlgItem(dialog, id);
        EXPECT_TRUE(item) << "control " << id << ": error " << item.error;
        return item.value;
    }
    // The control's rectangle in its dialog's client coordinates.
    static Rect PlaceInDialog(WindowHandle dialog, WindowHandle control) {
        Rect screen = GetWindowRect(control).value;
        Point topLeft = ScreenToClient(dialog, {screen.left, screen.top}).value;
        return {topLeft.x, topLeft.y, topLeft.x + screen.Width(), topLeft.y + screen.Height()};
    }

    WindowHandle m_frame = nullptr;
};

TEST_F(UserInterfaceContract, TheFrameIsMadeFromItsTemplateInDialogUnitsOfItsFont) {
    const DialogTemplate& frame = *FindDialogTemplate(IddSetupFrame);
    Rect client = GetClientRect(m_frame).value;
    Rect expected = MapDialogRect(m_frame, {0, 0, frame.cx, frame.cy}).value;
    EXPECT_EQ(client.Width(), expected.Width());
    EXPECT_EQ(client.Height(), expected.Height());
    for (const DialogControl& control : frame.controls) {
        WindowHandle button = Item(m_frame, control.id);
        // Position and size are converted each on its own.
        Rect units = MapDialogRect(m_frame, {control.x, control.y, control.cx, control.cy}).value;
        Rect pixels{units.left, units.top, units.left + units.right, units.top + units.bottom};
        EXPECT_EQ(PlaceInDialog(m_frame, button), pixels) << "control " << control.id;
        EXPECT_EQ(GetWindowLongPtrW(button, WindowLong::Id).value, control.id);
    }
    auto style = GetWindowLongPtrW(m_frame, WindowLong::Style);
    ASSERT_TRUE(style);
    EXPECT_EQ(style.value & (WsCaption | WsSysMenu | WsPopup), WsCaption | WsSysMenu | WsPopup);
    EXPECT_FALSE(IsWindowVisible(m_frame)) << "the template has no WS_VISIBLE";
}

TEST_F(UserInterfaceContract, APageIsAChildInItsOwnFontAndMovesWithinTheFrame) {
    WindowHandle page = Page(IddOperationPage);
    EXPECT_EQ(GetParent(page).value, m_frame);
    Rect client = GetClientRect(page).value;
    Rect expected = MapDialogRect(page, {0, 0, 294, 118}).value;
    EXPECT_EQ(client.Width(), expected.Width());
    EXPECT_EQ(client.Height(), expected.Height());
    // 8 point units are no larger than 9 point ones.
    Rect pageUnit = MapDialogRect(page, {0, 0, 400, 800}).value;
    Rect frameUnit = MapDialogRect(m_frame, {0, 0, 400, 800}).value;
    EXPECT_LE(pageUnit.right, frameUnit.right);
    EXPECT_LE(pageUnit.bottom, frameUnit.bottom);

    ASSERT_TRUE(MoveWindow(page, 10, 20, 300, 150, true));
    EXPECT_EQ(PlaceInDialog(m_frame, page), (Rect{10, 20, 310, 170}));
    EXPECT_EQ(GetClientRect(page).value, (Rect{0, 0, 300, 150}));
}

TEST_F(UserInterfaceContract, AWrongControlIdFindsNoWindow) {
    auto missing = GetDlgItem(m_frame, 4242);
    EXPECT_FALSE(missing);
    if (Env().Kind() == Machine::Wine)
        EXPECT_EQ(missing.error, ErrorGenFailure) << "Wine leaves no last error";
    else
        EXPECT_EQ(missing.error, ErrorControlIdNotFound);
    EXPECT_EQ(missing.value, nullptr);
}

TEST_F(UserInterfaceContract, CallsOnAWindowThatIsGoneFail) {
    WindowHandle page = Page(IddCompletePage);
    ASSERT_TRUE(DestroyWindow(page));
    EXPECT_FALSE(IsWindow(page));
    EXPECT_EQ(SendMessageW(page, BmGetCheck, 0, 0).error, ErrorInvalidWindowHandle);
    EXPECT_EQ(GetWindowTextW(page).error, ErrorInvalidWindowHandle);
    EXPECT_EQ(SetWindowTextW(page, u"x").error, ErrorInvalidWindowHandle);
    EXPECT_EQ(GetDlgItem(page, IdcResult).error, ErrorInvalidWindowHandle);
}

TEST_F(UserInterfaceContract, WindowTextRoundTripsAnyUnicode) {
    WindowHandle result = Item(Page(IddCompletePage), IdcResult);
    for (std::u16string text :
         {std::u16string(u"プリンターを接続して、もう一度やり直してください!"),
          std::u16string(u"请选择 打印机"), std::u16string(u"Ünïcödé\r\nError Code:5"),
          std::u16string(u"\U0001F5A8 printer"), std::u16string()}) {
        ASSERT_TRUE(SetWindowTextW(result, text));
        EXPECT_EQ(GetWindowTextW(result).value, text);
    }
    ASSERT_TRUE(SetWindowTextW(m_frame, u"选择驱动程序"));
    EXPECT_EQ(GetWindowTextW(m_frame).value, u"选择驱动程序");
}

std::u16string EntryText(WindowHandle box, std::uintptr_t index) {
    auto length = SendMessageW(box, CbGetLbTextLen, index, 0).value;
    if (length < 0)
        return u"<none>";
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(box, CbGetLbText, index, reinterpret_cast<std::intptr_t>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

TEST_F(UserInterfaceContract, ASortedComboBoxInsertsInOrderAndMinusOneClearsItsSelection) {
    WindowHandle box = Item(Page(IddModelPage), IdcPort);
    auto add = [&](const char16_t* text) {
        return SendMessageW(box, CbAddString, 0, reinterpret_cast<std::intptr_t>(text)).value;
    };
    EXPECT_EQ(add(u"USB002"), 0);
    EXPECT_EQ(add(u"USB001"), 0);
    EXPECT_EQ(add(u"usb003"), 2) << "sorted without regard to case";
    EXPECT_EQ(add(u"COM1:"), 0);
    EXPECT_EQ(SendMessageW(box, CbGetCount, 0, 0).value, 4);
    EXPECT_EQ(EntryText(box, 0), u"COM1:");
    EXPECT_EQ(EntryText(box, 1), u"USB001");
    EXPECT_EQ(EntryText(box, 3), u"usb003");
    EXPECT_EQ(SendMessageW(box, CbGetLbTextLen, 9, 0).value, CbErr);

    EXPECT_EQ(SendMessageW(box, CbGetCurSel, 0, 0).value, CbErr) << "nothing selected at first";
    EXPECT_EQ(SendMessageW(box, CbSetCurSel, 3, 0).value, 3);
    EXPECT_EQ(SendMessageW(box, CbGetCurSel, 0, 0).value, 3);
    EXPECT_EQ(GetWindowTextW(box).value, u"usb003");
    EXPECT_EQ(SendMessageW(box, CbSetCurSel, static_cast<std::uintptr_t>(-1), 0).value, CbErr);
    EXPECT_EQ(SendMessageW(box, CbGetCurSel, 0, 0).value, CbErr);
}

TEST_F(UserInterfaceContract, AnAutomaticRadioButtonUnchecksTheRestOfItsGroup) {
    ShowWindow(m_frame, SwShow);
    WindowHandle page = Page(IddOperationPage);
    ShowWindow(page, SwShow);
    WindowHandle install = Item(page, IdcInstall);
    WindowHandle uninstall = Item(page, IdcUninstall);
    SendMessageW(install, BmClick, 0, 0);
    EXPECT_EQ(SendMessageW(install, BmGetCheck, 0, 0).value, BstChecked);
    SendMessageW(uninstall, BmClick, 0, 0);
    EXPECT_EQ(SendMessageW(install, BmGetCheck, 0, 0).value, BstUnchecked);
    EXPECT_EQ(SendMessageW(uninstall, BmGetCheck, 0, 0).value, BstChecked);
    EXPECT_EQ(Commands(), (std::vector<Command>{{1001, BnClicked}, {1002, BnClicked}}));

    // Setting a check is no click: the group is left alone.
    SendMessageW(install, BmSetCheck, BstChecked, 0);
    EXPECT_EQ(SendMessageW(uninstall, BmGetCheck, 0, 0).value, BstChecked);
}

TEST_F(UserInterfaceContract, AnAutomaticCheckBoxTogglesOnEveryClick) {
    ShowWindow(m_frame, SwShow);
    WindowHandle page = Page(IddModelPage);
    ShowWindow(page, SwShow);
    WindowHandle box = Item(page, IdcDefaultPrinter);
    SendMessageW(box, BmClick, 0, 0);
    EXPECT_EQ(SendMessageW(box, BmGetCheck, 0, 0).value, BstChecked);
    SendMessageW(box, BmClick, 0, 0);
    EXPECT_EQ(SendMessageW(box, BmGetCheck, 0, 0).value, BstUnchecked);
    EXPECT_EQ(Commands().size(), 2u);
}

TEST_F(UserInterfaceContract, AClickOnADisabledButtonDoesNothing) {
    ShowWindow(m_frame, SwShow);
    WindowHandle back = Item(m_frame, IdcBack);
    auto wasDisabled = EnableWindow(back, false);
    ASSERT_TRUE(wasDisabled);
    EXPECT_FALSE(wasDisabled.value);
    EXPECT_FALSE(IsWindowEnabled(back));
    SendMessageW(back, BmClick, 0, 0);
    if (Env().Kind() == Machine::Wine) {
        EXPECT_EQ(Commands().size(), 1u) << "Wine's buttons take the click all the same";
        Commands().clear();
    } else {
        EXPECT_TRUE(Commands().empty());
    }

    EXPECT_TRUE(EnableWindow(back, true).value) << "it was disabled";
    SendMessageW(back, BmClick, 0, 0);
    EXPECT_EQ(Commands(), (std::vector<Command>{{1000, BnClicked}}));
}

TEST_F(UserInterfaceContract, AListViewKeepsItsItemsTheirStatesAndItsSelectionMark) {
    WindowHandle list = Item(Page(IddRemovalPage), IdcModelList);
    EXPECT_EQ(ListView_InsertItem(list, 0, u"VQ-100").value, 0);
    EXPECT_EQ(ListView_InsertItem(list, 1, u"VQ-200 打印机").value, 1);
    EXPECT_EQ(ListView_InsertItem(list, 7, u"VQ-300").value, 2) << "past the end appends";
    EXPECT_EQ(ListView_GetItemCount(list).value, 3);
    EXPECT_EQ(ListView_GetItemText(list, 1, 50).value, u"VQ-200 打印机");
    EXPECT_EQ(ListView_GetItemText(list, 1, 4).value, u"VQ-") << "cut to the buffer";
    EXPECT_EQ(ListView_GetItemText(list, 5, 50).value, u"") << "no such item";

    EXPECT_EQ(ListView_GetSelectionMark(list).value, -1);
    EXPECT_TRUE(ListView_SetItemState(list, 2, LvisSelected, LvisSelected));
    EXPECT_EQ(ListView_GetItemState(list, 2, LvisSelected).value, LvisSelected);
    EXPECT_EQ(ListView_GetItemState(list, 0, LvisSelected).value, 0u);
    EXPECT_EQ(ListView_SetSelectionMark(list, 1).value, -1);
    EXPECT_EQ(ListView_GetSelectionMark(list).value, 1);

    std::u16string longName(499, u'M');
    EXPECT_EQ(ListView_InsertItem(list, 3, longName).value, 3);
    EXPECT_EQ(ListView_GetItemText(list, 3, 500).value, longName);
    EXPECT_EQ(ListView_GetItemText(list, 3, 50).value, longName.substr(0, 49));
}

TEST_F(UserInterfaceContract, AnImageListCountsItsImages) {
    auto list = ImageList_Create(48, 48, IlcColor32 | IlcMask, 0, 0);
    ASSERT_TRUE(list) << list.error;
    EXPECT_EQ(ImageList_GetImageCount(list.value.Get()), 0);
    EXPECT_EQ(ImageList_ReplaceIcon(list.value.Get(), -1, nullptr).value, -1);
    WindowHandle listView = Item(Page(IddModelPage), IdcModelList);
    EXPECT_EQ(ListView_SetImageList(listView, list.value.Get(), LvsilNormal).value, nullptr);
    EXPECT_TRUE(list.value.Close());
}

TEST_F(UserInterfaceContract, AModalDialogGivesBackItsEndResult) {
    auto result =
        DialogBoxIndirectParamW(*FindDialogTemplate(IddSetupFrame), m_frame, EndAtOnce, 42);
    ASSERT_TRUE(result) << result.error;
    EXPECT_EQ(result.value, 42);
    EXPECT_TRUE(IsWindowEnabled(m_frame)) << "the owner is enabled again";
}

TEST_F(UserInterfaceContract, TheFocusGoesWhereInitialisationAsks) {
    ShowWindow(m_frame, SwShow);
    WindowHandle back = Item(m_frame, IdcBack);
    WindowHandle next = Item(m_frame, IdcNext);
    ASSERT_TRUE(SetFocus(next));
    EXPECT_EQ(GetFocus(), next);
    auto before = SetFocus(back);
    ASSERT_TRUE(before);
    EXPECT_EQ(before.value, next);
    EXPECT_EQ(GetFocus(), back);
}

TEST_F(UserInterfaceContract, TheDialogKeepsAValueForItsObject) {
    EXPECT_EQ(GetWindowLongPtrW(m_frame, WindowLong::DialogUser).value, 0);
    EXPECT_EQ(SetWindowLongPtrW(m_frame, WindowLong::DialogUser, 1234).value, 0);
    EXPECT_EQ(GetWindowLongPtrW(m_frame, WindowLong::DialogUser).value, 1234);
}

TEST_F(UserInterfaceContract, AnIconTheProgramDoesNotCarryIsNotFound) {
    auto icon = LoadIconW(999);
    EXPECT_FALSE(icon);
    EXPECT_TRUE(icon.error == ErrorResourceDataNotFound ||
                icon.error == ErrorResourceTypeNotFound || icon.error == ErrorResourceNameNotFound)
        << icon.error;
    EXPECT_GT(GetSystemMetrics(SmCxIcon), 0);
}

TEST_F(UserInterfaceContract, TheWaitCursorComesAndGoes) {
    auto wait = LoadCursorW(IdcWait);
    auto arrow = LoadCursorW(IdcArrow);
    ASSERT_TRUE(wait);
    ASSERT_TRUE(arrow);
    EXPECT_NE(wait.value, arrow.value);
    SetCursor(arrow.value);
    EXPECT_EQ(SetCursor(wait.value), arrow.value);
    EXPECT_EQ(SetCursor(arrow.value), wait.value);
}

TEST_F(UserInterfaceContract, StartUpCalls) {
    EXPECT_TRUE(SetDefaultDllDirectories(LoadLibrarySearchSystem32));
    EXPECT_TRUE(InitCommonControlsEx(IccAllClasses));
}

} // namespace
} // namespace contract
