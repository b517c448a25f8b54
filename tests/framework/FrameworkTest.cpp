// The dialog framework on the simulated desktop: dispatch through the one
// procedure, modal runs driven as a person would, data exchange, wrappers,
// painting, the wait cursor and the application's start.
#include <gtest/gtest.h>

#include <optional>

#include "framework/CDialogEx.h"
#include "framework/CImageList.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Drawing.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimThreads.h"
#include "resources/ResourceIds.h"

namespace {

using namespace platform;
namespace sim = platform::sim;

// The frame's template, with a radio group, a check box and a box of the
// operation page's kind placed on it, so that one dialog shows everything.
const DialogTemplate& ProbeTemplate() {
    static const DialogTemplate probe{
        900,
        WsPopup | WsCaption | WsSysMenu | DsModalFrame | DsShellFont,
        WsExAppWindow,
        0,
        0,
        200,
        100,
        u"Probe",
        u"MS Shell Dlg",
        8,
        {
            {10, ClassButton, u"A", 5, 5, 50, 10,
             WsChild | WsVisible | WsGroup | WsTabStop | BsAutoRadioButton, 0},
            {11, ClassButton, u"B", 5, 17, 50, 10, WsChild | WsVisible | BsAutoRadioButton, 0},
            {12, ClassButton, u"C", 5, 29, 50, 10, WsChild | WsVisible | BsAutoRadioButton, 0},
            {20, ClassButton, u"Tick", 5, 41, 50, 10,
             WsChild | WsVisible | WsGroup | WsTabStop | BsAutoCheckBox, 0},
            {30, ClassListView, u"", 70, 5, 100, 60, WsChild | WsVisible | WsBorder, 0},
            {40, ClassEdit, u"", 70, 70, 100, 12, WsChild | WsVisible | WsBorder, 0},
            {IdcNext, ClassButton, u"OK", 90, 84, 40, 12,
             WsChild | WsVisible | WsTabStop | BsDefPushButton, 0},
            {IdcCancel, ClassButton, u"Cancel", 140, 84, 40, 12,
             WsChild | WsVisible | WsTabStop | BsPushButton, 0},
        }};
    return probe;
}

class CProbeDlg : public CDialogEx {
  public:
    CProbeDlg() : CDialogEx(ProbeTemplate(), nullptr) {}

    int m_choice = 1;
    int m_ticked = 0;
    std::u16string m_text = u"first";
    CListCtrl m_list;
    std::vector<std::string> m_heard;
    bool m_paintLines = false;

  protected:
    bool OnInitDialog() override {
        m_heard.push_back("init");
        CDialogEx::OnInitDialog();
        m_list.InsertItem(0, u"one");
        m_list.InsertItem(1, u"two");
        return true;
    }
    bool OnCommand(std::uint16_t id, std::uint16_t code) override {
        m_heard.push_back("command " + std::to_string(id));
        return CDialogEx::OnCommand(id, code);
    }
    bool OnNotify(const NotifyHeader& header) override {
        m_heard.push_back("notify " + std::to_string(header.idFrom));
        return true;
    }
    bool OnPaint() override {
        if (!m_paintLines)
            return false;
        CPaintDC dc(GetSafeHwnd());
        CSelectedPen grey(dc, 1, Rgb(160, 160, 160));
        dc.MoveTo(1, 2);
        dc.LineTo(30, 2);
        return true;
    }
    void DoDataExchange(CDataExchange& exchange) override {
        ExchangeRadio(exchange, 10, m_choice);
        ExchangeCheck(exchange, 20, m_ticked);
        ExchangeText(exchange, 40, m_text);
        ExchangeControl(exchange, 30, m_list);
    }
};

class Framework : public ::testing::Test {
  protected:
    void SetUp() override { sim::ResetMachine(); }
    void TearDown() override { sim::ResetMachine(); }

    // Runs the dialog modally on the program's own thread; the test then
    // acts between the steps.
    void StartModal(CProbeDlg& dialog) {
        sim::SpawnThread([&dialog, this] { m_result = dialog.DoModal(); });
        ASSERT_TRUE(sim::Settle());
        ASSERT_TRUE(sim::ActiveDialog().has_value());
    }
    bool Ended() const { return m_result.has_value(); }

    std::optional<std::intptr_t> m_result;
};

TEST_F(Framework, AModalDialogShowsItsMembersAndTakesThemBackOnOk) {
    CProbeDlg dialog;
    StartModal(dialog);
    EXPECT_EQ(sim::FindControl(11)->check, BstChecked);
    EXPECT_EQ(sim::FindControl(10)->check, BstUnchecked);
    EXPECT_EQ(sim::FindControl(40)->text, u"first");
    EXPECT_EQ(sim::FindControl(30)->listItems.size(), 2u) << "the list is bound at init";

    sim::Click(12);
    sim::Click(20);
    EXPECT_EQ(sim::FindControl(11)->check, BstUnchecked) << "the group follows the click";
    EXPECT_FALSE(Ended());
    sim::Click(IdcNext);
    ASSERT_TRUE(Ended());
    EXPECT_EQ(*m_result, IdOk);
    EXPECT_EQ(dialog.m_choice, 2);
    EXPECT_EQ(dialog.m_ticked, 1);
    EXPECT_EQ(sim::WindowCount(), 0u) << "the loop destroyed the dialog";
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_heard,
              (std::vector<std::string>{"init", "command 12", "command 20", "command 1"}));
}

struct KeyRow {
    const char* name;
    sim::ActionKind kind;
    bool disableNext;
    std::optional<std::intptr_t> result; // none: the dialog stays
};

class FrameworkKeys : public Framework, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(FrameworkKeys, EndTheDialogAsTheDialogManagerDoes) {
    CProbeDlg dialog;
    StartModal(dialog);
    if (GetParam().disableNext)
        EnableWindow(dialog.GetDlgItem(IdcNext), false);
    sim::UserAction action;
    action.kind = GetParam().kind;
    sim::Queue(action);
    sim::Settle();
    EXPECT_EQ(m_result, GetParam().result);
    if (!Ended()) {
        EXPECT_EQ(sim::IgnoredActions(), std::vector<sim::UserAction>{action});
        sim::Click(IdcCancel);
        EXPECT_EQ(m_result, IdCancel);
    }
}

const KeyRow KeyRows[] = {
    {"EnterIsTheDefaultButton", sim::ActionKind::Enter, false, IdOk},
    {"EnterOnADisabledDefaultButtonDoesNothing", sim::ActionKind::Enter, true, std::nullopt},
    {"EscapeIsCancel", sim::ActionKind::Escape, false, IdCancel},
    {"TheCloseBoxIsCancel", sim::ActionKind::CloseBox, false, IdCancel},
};
INSTANTIATE_TEST_SUITE_P(Keys, FrameworkKeys, ::testing::ValuesIn(KeyRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Framework, AClickOnADisabledOrMissingControlGoesNowhere) {
    CProbeDlg dialog;
    StartModal(dialog);
    EnableWindow(dialog.GetDlgItem(20), false);
    sim::Click(20);
    sim::Click(4242);
    EXPECT_EQ(sim::FindControl(20)->check, BstUnchecked);
    EXPECT_EQ(sim::IgnoredActions().size(), 2u);
    EXPECT_EQ(dialog.m_heard, std::vector<std::string>{"init"});
    sim::PressEscape();
}

TEST_F(Framework, AMessageBoxIsRecordedAndAnsweredWhileTheDialogWaits) {
    struct CAsking : CProbeDlg {
        std::intptr_t answer = 0;
        bool OnCommand(std::uint16_t id, std::uint16_t code) override {
            if (id == 20) {
                answer = MessageBox(u"Please connect", u"Setup", MbOkCancel);
                return true;
            }
            return CProbeDlg::OnCommand(id, code);
        }
    } dialog;
    sim::SpawnThread([&] { m_result = dialog.DoModal(); });
    sim::Settle();
    sim::Click(20);
    ASSERT_TRUE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::OpenMessageBox()->text, u"Please connect");
    sim::Click(IdcNext); // the dialog is disabled under the box
    EXPECT_FALSE(Ended());
    sim::AnswerMessageBox(IdCancel);
    EXPECT_EQ(dialog.answer, IdCancel);
    EXPECT_FALSE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::MessageBoxes(),
              (std::vector<sim::SimMessageBox>{
                  {dialog.GetSafeHwnd(), u"Please connect", u"Setup", MbOkCancel, IdCancel}}));
    sim::Click(IdcNext);
    EXPECT_EQ(m_result, IdOk);
}

TEST_F(Framework, AScriptRunsTheWholeDialogOnTheTestsThread) {
    sim::UserAction tick;
    tick.kind = sim::ActionKind::Click;
    tick.id = 20;
    sim::UserAction ok;
    ok.kind = sim::ActionKind::Enter;
    sim::Queue(tick);
    sim::Queue(ok);
    CProbeDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IdOk);
    EXPECT_EQ(dialog.m_ticked, 1);
}

TEST_F(Framework, AModalLoopWithNoActionLeftOnTheTestsThreadGivesUp) {
    CProbeDlg dialog;
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_EQ(sim::WindowCount(), 0u);
}

TEST_F(Framework, SelectingAListItemMovesTheMarkAndNotifiesTheDialog) {
    CProbeDlg dialog;
    StartModal(dialog);
    sim::SelectListItem(30, 1);
    EXPECT_EQ(dialog.m_list.GetSelectionMark(), 1);
    EXPECT_EQ(dialog.m_list.GetItemState(1, LvisSelected), LvisSelected);
    EXPECT_EQ(dialog.m_list.GetItemText(1, 50), u"two");
    EXPECT_EQ(dialog.m_heard.back(), "notify 30");
    sim::SelectListItem(30, -1); // a click beside the items
    EXPECT_EQ(dialog.m_list.GetItemState(1, LvisSelected), 0u);
    EXPECT_EQ(dialog.m_list.GetSelectionMark(), 1) << "the mark stays";
    sim::PressEscape();
}

TEST_F(Framework, PaintingRecordsTheLinesWithThePensColour) {
    CProbeDlg dialog;
    dialog.m_paintLines = true;
    StartModal(dialog);
    sim::SimWindow shown = sim::Snapshot(dialog.GetSafeHwnd());
    EXPECT_EQ(shown.lines, (std::vector<sim::SimLine>{{Rgb(160, 160, 160), 1, {1, 2}, {30, 2}}}));
    EXPECT_EQ(sim::LivePens(), 0u) << "the pen was deleted after painting";
    sim::PressEscape();
}

TEST_F(Framework, AMessageForAnEndedObjectFindsNoObject) {
    CProbeDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    WindowHandle window = dialog.GetSafeHwnd();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(window, WindowLong::DialogUser).value,
              reinterpret_cast<std::intptr_t>(&dialog));
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(Framework, DataExchangeFailsForAControlThatIsNotThere) {
    struct CMissing : CDialogEx {
        CMissing() : CDialogEx(ProbeTemplate(), nullptr) {}
        int value = 0;
        void DoDataExchange(CDataExchange& exchange) override {
            ExchangeCheck(exchange, 77, value);
        }
    } dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.UpdateData(true));
}

TEST_F(Framework, TheWaitCursorIsShownForItsScopeOnly) {
    CursorHandle before = sim::CurrentCursor();
    {
        CWaitCursor wait;
        EXPECT_EQ(sim::CurrentCursor(), LoadCursorW(IdcWait).value);
    }
    EXPECT_EQ(sim::CurrentCursor(), before);
}

TEST_F(Framework, AnImageListHoldsItsIconsAndIsDestroyedWithItsObject) {
    {
        CImageList images;
        ASSERT_TRUE(images.Create(48, 48, IlcColor32 | IlcMask, 0, 0));
        EXPECT_EQ(images.Add(LoadIconW(IdiPrinter).value), 0);
        EXPECT_EQ(images.GetImageCount(), 1);
        EXPECT_EQ(images.Add(nullptr), -1);
        EXPECT_EQ(sim::LiveImageLists(), 1u);
    }
    EXPECT_EQ(sim::LiveImageLists(), 0u);
}

TEST_F(Framework, TheComboBoxWrapperKeepsASortedBoxInOrder) {
    CDialogEx frame(IddSetupFrame);
    ASSERT_TRUE(frame.Create(nullptr));
    CDialogEx page(IddModelPage, frame.GetSafeHwnd());
    ASSERT_TRUE(page.Create(frame.GetSafeHwnd()));
    CComboBox box;
    box.Attach(page.GetDlgItem(IdcPort));
    EXPECT_EQ(box.AddString(u"USB002"), 0);
    EXPECT_EQ(box.AddString(u"USB001"), 0);
    EXPECT_EQ(box.GetCount(), 2);
    EXPECT_EQ(box.GetLBText(1), u"USB002");
    EXPECT_EQ(box.GetLBText(2), u"");
    EXPECT_EQ(box.SetCurSel(box.GetCount() - 1), 1);
    EXPECT_EQ(box.GetCurSel(), 1);
    EXPECT_EQ(box.SetCurSel(-1), CbErr);
    EXPECT_EQ(box.GetCurSel(), -1);
}

class CCountingApp : public CWinApp {
  public:
    int initialised = 0;

  protected:
    bool InitInstance() override {
        ++initialised;
        return false;
    }
};

TEST_F(Framework, TheApplicationSearchesOnlyTheSystemFolderBeforeAnythingElse) {
    CCountingApp app;
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(app.initialised, 1);
    EXPECT_EQ(sim::CallCount("SetDefaultDllDirectories"), 1u);
    EXPECT_EQ(sim::CallCount("InitCommonControlsEx"), 1u);

    sim::FailOnce("SetDefaultDllDirectories", ErrorInvalidParameter);
    CCountingApp refused;
    EXPECT_EQ(refused.Run(), static_cast<int>(ErrorInvalidParameter));
    EXPECT_EQ(refused.initialised, 0) << "nothing runs that could load a planted DLL";
}

} // namespace
