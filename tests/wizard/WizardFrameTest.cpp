// The frame: start-up, languages, navigation, the page area and painting.
#include "platform/System.h"
#include "platform/sim/SimFaults.h"
#include "tests/wizard/WizardHarness.h"
#include "wizard/CSetupDlg.h"

#include <algorithm>

namespace wizardtest {
namespace {

using namespace platform;

TEST_F(WizardTest, WithoutConfigurationTheErrorBoxEndsTheProgram) {
    DeleteFileW(u"C:\\Setup\\config.xml");
    Start();
    ASSERT_TRUE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::OpenMessageBox()->caption, u"Error");
    EXPECT_EQ(sim::OpenMessageBox()->type & MbButtonsMask, MbOk);
    EXPECT_EQ(PageTemplate(), 0) << "no page is created";
    sim::AnswerMessageBox(IdOk);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(sim::WindowCount(), 0u);
}

struct LanguageRow {
    const char* name;
    std::uint32_t locale;
    std::u16string title, back, next, cancel, install;
};

class WizardLanguage : public WizardTest, public ::testing::WithParamInterface<LanguageRow> {};

TEST_P(WizardLanguage, TheOperationPageSpeaksTheLocalesLanguage) {
    Start(GetParam().locale);
    EXPECT_EQ(Title(), GetParam().title);
    EXPECT_EQ(Caption(IdcBack), GetParam().back);
    EXPECT_EQ(Caption(IdcNext), GetParam().next);
    EXPECT_EQ(Caption(IdcCancel), GetParam().cancel);
    EXPECT_EQ(Caption(IdcInstall), GetParam().install);
    sim::PressEscape();
    EXPECT_TRUE(Ended());
}

// The tables' own texts; the locales outside the four first ones follow
// their primary language.
const LanguageRow LanguageRows[] = {
    {"English", LocaleEnglish, u"Select Operation", u"< Prev Step", u"Next Step >", u"Cancel",
     u"Install"},
    {"EnglishUk", 0x0809, u"Select Operation", u"< Prev Step", u"Next Step >", u"Cancel",
     u"Install"},
    {"GermanGetsEnglish", 0x0407, u"Select Operation", u"< Prev Step", u"Next Step >", u"Cancel",
     u"Install"},
    {"EnglishAustralia", 0x0C09, u"Select Operation", u"< Prev Step", u"Next Step >", u"Cancel",
     u"Install"},
};
INSTANTIATE_TEST_SUITE_P(Locales, WizardLanguage, ::testing::ValuesIn(LanguageRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WizardTest, JapaneseAndChineseLocalesGetTheirTables) {
    for (std::uint32_t locale : {LocaleJapanese, 0x0C04u, LocaleChinese}) {
        sim::ResetMachine();
        Medium({"VQ-10000000"});
        exitCode.reset();
        Start(locale);
        UiLanguage language = locale == LocaleJapanese ? UiLanguage::Japanese : UiLanguage::Chinese;
        EXPECT_EQ(Title(), LoadText(language, TextSelectOperation)) << std::hex << locale;
        EXPECT_EQ(Caption(IdcNext), LoadText(language, TextNextStep));
        EXPECT_EQ(Caption(IdcCancel), LoadText(language, TextCancel));
        EXPECT_EQ(Caption(IdcUninstall), LoadText(language, TextUninstall));
        EXPECT_FALSE(Title().empty());
        sim::PressEscape();
    }
}

struct StepRow {
    const char* name;
    std::vector<std::int32_t> clicks; // from the operation page
    std::uint16_t page;
    std::u16string title;
    bool backEnabled;
    std::u16string next;
};

class WizardNavigation : public WizardTest, public ::testing::WithParamInterface<StepRow> {};

TEST_P(WizardNavigation, EveryTransitionShowsItsPageTitleAndButtons) {
    engine.queues = {u"VQ-20000000"};
    Start();
    for (std::int32_t click : GetParam().clicks) {
        if (click == -1)
            sim::SelectListItem(IdcModelList, 0);
        else
            sim::Click(click);
    }
    EXPECT_EQ(PageTemplate(), GetParam().page);
    EXPECT_EQ(Title(), GetParam().title);
    EXPECT_EQ(Enabled(IdcBack), GetParam().backEnabled);
    EXPECT_TRUE(Enabled(IdcNext));
    EXPECT_EQ(Caption(IdcNext), GetParam().next);
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

// -1 selects the first model of the list on show.
const StepRow StepRows[] = {
    {"Start", {}, IddOperationPage, u"Select Operation", false, u"Next Step >"},
    {"InstallGoesToFolder", {IdcNext}, IddFolderPage, u"Select Driver", true, u"Next Step >"},
    {"FolderGoesToModel", {IdcNext, IdcNext}, IddModelPage, u"Select Driver", true, u"Next Step >"},
    {"ModelGoesToComplete",
     {IdcNext, IdcNext, IdcVirtualPort, -1, IdcNext},
     IddCompletePage,
     u"Complete",
     false,
     u"Complete"},
    {"UninstallGoesToRemoval",
     {IdcUninstall, IdcNext},
     IddRemovalPage,
     u"Select Driver",
     true,
     u"Next Step >"},
    {"RemovalGoesToComplete",
     {IdcUninstall, IdcNext, -1, IdcNext},
     IddCompletePage,
     u"Complete",
     false,
     u"Complete"},
    {"BackFromModelIsFolder",
     {IdcNext, IdcNext, IdcBack},
     IddFolderPage,
     u"Select Driver",
     true,
     u"Next Step >"},
    {"BackFromFolderIsOperation",
     {IdcNext, IdcBack},
     IddOperationPage,
     u"Select Operation",
     false,
     u"Next Step >"},
    {"BackFromRemovalIsOperation",
     {IdcUninstall, IdcNext, IdcBack},
     IddOperationPage,
     u"Select Operation",
     false,
     u"Next Step >"},
    {"BackOnOperationDoesNothing",
     {IdcBack},
     IddOperationPage,
     u"Select Operation",
     false,
     u"Next Step >"},
};
INSTANTIATE_TEST_SUITE_P(Steps, WizardNavigation, ::testing::ValuesIn(StepRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WizardTest, NextOnTheCompletionPageAndCancelAnywhereEndTheWizard) {
    Start();
    sim::Click(IdcUninstall);
    sim::Click(IdcNext);
    sim::Click(IdcCancel);
    EXPECT_TRUE(Ended());
    EXPECT_EQ(engine.calls,
              (std::vector<std::string>{"PrinterExists(VQ-10000000)", "PrinterExists(VQ-20000000)",
                                        "PrinterExists(VQ-30000000)"}))
        << "nothing is undone or done";
    EXPECT_EQ(sim::WindowCount(), 0u);
}

TEST_F(WizardTest, EnterIsNextAndTheCloseBoxIsCancel) {
    Start();
    sim::PressEnter();
    EXPECT_EQ(PageTemplate(), IddFolderPage);
    sim::CloseBox();
    EXPECT_TRUE(Ended());
}

TEST_F(WizardTest, TheEngineIsMadeForTheLoadedCatalogueAndTheMachine) {
    sim::SetNativeArchitecture(ProcessorArchitectureIntel);
    Start();
    EXPECT_EQ(engine.architecture, ProcessorArchitectureIntel);
    EXPECT_EQ(engine.catalogueSize, 3u);
    sim::PressEscape();
}

TEST_F(WizardTest, NextTakesTheFocusOnTheOperationPage) {
    Start();
    EXPECT_TRUE(sim::FindControl(IdcNext)->focused);
    sim::PressEscape();
}

TEST_F(WizardTest, ThePageAreaAndTheSeparatorFollowTheButtonsMargins) {
    Start();
    // 9 point base units 7 x 14: the client is 560 x 350, Cancel stands at
    // (460, 308) and is 88 x 30; so r = 12 and g = 12.
    auto page = sim::ShownChildDialog();
    ASSERT_TRUE(page.has_value());
    EXPECT_EQ(page->rect, (Rect{12, 13, 547, 295}));
    sim::SimWindow frame = sim::Snapshot(*sim::ActiveDialog());
    EXPECT_EQ(frame.lines, (std::vector<sim::SimLine>{
                               {Rgb(160, 160, 160), 1, {12, 296}, {547, 296}},
                               {Rgb(255, 255, 255), 1, {13, 297}, {548, 297}},
                           }));
    // The same margin left of the page as right of the buttons, and the
    // line directly below the page.
    Rect client = GetClientRect(frame.handle).value;
    EXPECT_EQ(page->rect.left, client.right - 548);
    EXPECT_EQ(frame.lines[0].from.y, page->rect.bottom + 1);
    EXPECT_EQ(sim::LivePens(), 0u);
    sim::PressEscape();
}

TEST_F(WizardTest, MinimisedTheFrameDrawsItsIconCentred) {
    Start();
    sim::UserAction minimise;
    minimise.kind = sim::ActionKind::Minimise;
    sim::Queue(minimise);
    sim::Settle();
    sim::SimWindow frame = sim::Snapshot(*sim::ActiveDialog());
    IconHandle icon = LoadIconW(IdiProgram).value;
    EXPECT_EQ(frame.icons,
              (std::vector<sim::SimIconDraw>{{icon, {(560 - 32 + 1) / 2, (350 - 32 + 1) / 2}}}));
    EXPECT_TRUE(frame.lines.empty());
    EXPECT_EQ(frame.bigIcon, icon);
    EXPECT_EQ(frame.smallIcon, icon);
    EXPECT_EQ(SendMessageW(frame.handle, WmQueryDragIcon, 0, 0).value,
              reinterpret_cast<std::intptr_t>(icon));
    sim::PressEscape();
}

TEST_F(WizardTest, OnlyOnePageLivesAtATime) {
    Start();
    std::size_t atStart = sim::WindowCount();
    sim::Click(IdcNext);
    sim::Click(IdcBack);
    EXPECT_EQ(sim::WindowCount(), atStart) << "the pages left were destroyed";
    sim::PressEscape();
}

} // namespace
} // namespace wizardtest

namespace wizardtest {
namespace {

using namespace platform;

TEST_F(WizardTest, APageThatCannotBeCreatedLeavesTheButtonsAndNextMovesOn) {
    Start();
    sim::FailOnce("CreateDialogIndirectParamW", ErrorNotEnoughMemory);
    sim::Click(IdcNext);
    EXPECT_EQ(PageTemplate(), 0) << "no page on show";
    EXPECT_EQ(Title(), u"Select Driver");
    EXPECT_TRUE(Enabled(IdcBack));
    sim::Click(IdcNext);
    EXPECT_EQ(PageTemplate(), IddModelPage) << "on without a commit";
    sim::PressEscape();
    EXPECT_TRUE(Ended());
}

TEST_F(WizardTest, TheResultSlotsKeepAtMost199CharactersAndStartEmpty) {
    CSetupDlg frame([](const PrinterCatalogue&, std::uint16_t) { return nullptr; });
    int flag = 7;
    char16_t message[ResultMessageChars];
    std::fill(std::begin(message), std::end(message), u'x');
    frame.GetResult(flag, message);
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(std::u16string(message), u"");

    std::u16string longMessage(250, u'm');
    frame.SetResult(1, longMessage.c_str());
    frame.GetResult(flag, message);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(std::u16string(message), longMessage.substr(0, 199));
    frame.SetResult(0, u"short");
    frame.GetResult(flag, message);
    EXPECT_EQ(std::u16string(message), u"short") << "the buffer is cleared first";
}

TEST_F(WizardTest, WithoutALanguageGetTextLeavesTheStringAndLoadTextIsEmpty) {
    CSetupDlg frame([](const PrinterCatalogue&, std::uint16_t) { return nullptr; });
    std::u16string text = u"before";
    frame.GetText(TextCancel, text);
    EXPECT_EQ(text, u"before");
    EXPECT_EQ(frame.LoadText(TextCancel), u"");
    EXPECT_EQ(frame.InstallPrinter(u"VQ-10000000", u"USB001"), -1) << "no engine: failure";
}

} // namespace
} // namespace wizardtest
