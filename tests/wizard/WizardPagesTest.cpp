// The pages as a person uses them, with the engine calls each commit makes
// in their order, and the whole installation and removal.
#include "platform/Spooler.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimSpooler.h"
#include "tests/wizard/WizardHarness.h"
#include "wizard/PrinterDetection.h"

namespace wizardtest {
namespace {

using namespace platform;
using Calls = std::vector<std::string>;

constexpr char16_t DefaultFolder[] = u"C:\\Varnoquill_Printer";

void Ports(std::initializer_list<const char16_t*> names) {
    for (const char16_t* name : names)
        sim::AddPort({name, u"Local Port", u"", 0});
}

// A printer of vendor 0483 and product 5741 whose first child is childId.
void Printer(std::u16string id, std::u16string childId) {
    sim::PlugDevice({std::move(id), {}, {}, {std::move(childId)}, u"Varnoquill printer"});
}

TEST_F(WizardTest, TheOperationPageKeepsTheChoiceAcrossBack) {
    Start();
    EXPECT_TRUE(Checked(IdcInstall));
    EXPECT_FALSE(Checked(IdcUninstall));
    sim::Click(IdcUninstall);
    sim::Click(IdcNext);
    sim::Click(IdcBack);
    EXPECT_TRUE(Checked(IdcUninstall));
    EXPECT_FALSE(Checked(IdcInstall));
    sim::PressEscape();
}

TEST_F(WizardTest, TheFolderPageOffersTheDefaultAndTheBrowsersChoice) {
    Start();
    sim::Click(IdcNext);
    EXPECT_EQ(Caption(IdcFolder), DefaultFolder);
    EXPECT_EQ(Caption(IdcBrowse), u"Browse");
    EXPECT_EQ(Caption(IdcFolderGroup), u"Please browse folder");

    sim::Click(IdcBrowse);
    ASSERT_EQ(sim::FolderBrowses().size(), 1u);
    EXPECT_EQ(sim::FolderBrowses()[0].title, u"请选择");
    EXPECT_EQ(sim::FolderBrowses()[0].flags, 0x49u);
    sim::ChooseFolder(u"D:\\Printers");
    EXPECT_EQ(Caption(IdcFolder), u"D:\\Printers");
    sim::Click(IdcBrowse);
    sim::CancelFolderBrowser();
    EXPECT_EQ(Caption(IdcFolder), u"D:\\Printers") << "cancelling keeps the first choice";
    EXPECT_EQ(sim::OutstandingShellItems(), 0u);
    EXPECT_EQ(sim::OutstandingShellAllocators(), 0u);

    // Back from the model page shows the default again.
    sim::Click(IdcNext);
    sim::Click(IdcBack);
    EXPECT_EQ(Caption(IdcFolder), DefaultFolder);
    sim::PressEscape();
}

TEST_F(WizardTest, TheModelPageListsTheModelsAndTheUsbPortsHighestSelected) {
    Ports({u"USB002", u"USB001", u"XUSB007"});
    Start();
    ToModelPage();
    auto list = sim::FindControl(IdcModelList);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(list->listItems, (std::vector<sim::SimListItem>{
                                   {u"VQ-10000000", 0}, {u"VQ-20000000", 0}, {u"VQ-30000000", 0}}));
    EXPECT_EQ(list->selectionMark, -1);
    EXPECT_NE(list->imageList, nullptr);
    auto box = sim::FindControl(IdcPort);
    EXPECT_EQ(box->items, (std::vector<std::u16string>{u"USB001", u"USB002", u"XUSB007"}));
    EXPECT_EQ(box->selection, 2) << "the last entry of the sorted box";
    EXPECT_TRUE(Checked(IdcVirtualPort));
    EXPECT_FALSE(Checked(IdcDefaultPrinter));
    EXPECT_TRUE(Checked(IdcStatusMonitor));
    EXPECT_EQ(Caption(IdcStatic), u"Please select port:");
    sim::PressEscape();
}

TEST_F(WizardTest, WithoutUsbPortsTheBoxHasNoSelection) {
    Start();
    ToModelPage();
    EXPECT_TRUE(sim::FindControl(IdcPort)->items.empty());
    EXPECT_EQ(sim::FindControl(IdcPort)->selection, -1);
    sim::PressEscape();
}

TEST_F(WizardTest, NextWithoutAModelSaysSoAndStays) {
    Start();
    ToModelPage();
    sim::Click(IdcNext);
    ASSERT_TRUE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::OpenMessageBox()->text, u"No driver is selected yet!");
    sim::AnswerMessageBox(IdOk);
    EXPECT_EQ(PageTemplate(), IddModelPage);
    EXPECT_TRUE(engine.calls.empty());
    sim::PressEscape();
}

struct CommitRow {
    const char* name;
    std::vector<std::int32_t> clicks; // boxes ticked or unticked before Next
    int installResult;
    Calls calls;
    std::u16string outcome;
};

class ModelCommit : public WizardTest, public ::testing::WithParamInterface<CommitRow> {};

TEST_P(ModelCommit, CallsTheEngineInItsOrderAndShowsTheOutcome) {
    Ports({u"USB001", u"USB002"});
    Printer(u"USB\\VID_0483&PID_5741\\A1", u"USBPRINT\\VQ20000000\\7&1&USB001");
    engine.installResult = GetParam().installResult;
    Start();
    ToModelPage();
    sim::SelectListItem(IdcModelList, 1);
    for (std::int32_t click : GetParam().clicks)
        sim::Click(click);
    sim::Click(IdcNext);
    EXPECT_EQ(engine.calls, GetParam().calls);
    EXPECT_EQ(PageTemplate(), IddCompletePage);
    EXPECT_EQ(Caption(IdcResult), GetParam().outcome);
    sim::Click(IdcNext);
    EXPECT_TRUE(Ended());
}

const CommitRow CommitRows[] = {
    {"StatusMonitorAndDetectedPort",
     {},
     0,
     {"StageFiles(VQ-20000000,C:\\Varnoquill_Printer,1)", "InstallStatusService(VQ-20000000)",
      "InstallPrinter(VQ-20000000,USB001)"},
     u"Complete!"},
    {"ChosenPortWithoutVirtualPort",
     {IdcVirtualPort, IdcStatusMonitor},
     0,
     {"InstallPrinter(VQ-20000000,USB002)"},
     u"Complete!"},
    // The new queue is named after the model: that name becomes the default.
    {"DefaultPrinterIsTheNewQueue",
     {IdcVirtualPort, IdcStatusMonitor, IdcDefaultPrinter},
     0,
     {"InstallPrinter(VQ-20000000,USB002)", "SetDefaultPrinter(VQ-20000000)"},
     u"Complete!"},
    {"NoDefaultPrinterAfterAFailure",
     {IdcVirtualPort, IdcStatusMonitor, IdcDefaultPrinter},
     -1,
     {"InstallPrinter(VQ-20000000,USB002)"},
     u"Error"},
    {"NoDefaultPrinterWhenItExisted",
     {IdcVirtualPort, IdcStatusMonitor, IdcDefaultPrinter},
     -2,
     {"InstallPrinter(VQ-20000000,USB002)"},
     u"The printer has already existed!"},
};
INSTANTIATE_TEST_SUITE_P(Commits, ModelCommit, ::testing::ValuesIn(CommitRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WizardTest, WithoutAUsbPortTheQueueGetsAnEmptyPortName) {
    engine.installResult = -1;
    engine.errorCode = 1801;
    Start();
    ToModelPage();
    sim::SelectListItem(IdcModelList, 0);
    sim::Click(IdcVirtualPort);
    sim::Click(IdcStatusMonitor);
    sim::Click(IdcNext);
    EXPECT_EQ(engine.calls, Calls{"InstallPrinter(VQ-10000000,)"});
    EXPECT_EQ(Caption(IdcResult), u"Error\r\nError Code:1801");
    sim::PressEscape();
}

TEST_F(WizardTest, ANameOfAnyLengthInstallsAsAWhole) {
    std::string longName(120, 'L');
    Medium({longName});
    Start();
    ToModelPage();
    sim::SelectListItem(IdcModelList, 0);
    sim::Click(IdcVirtualPort);
    sim::Click(IdcStatusMonitor);
    sim::Click(IdcNext);
    EXPECT_EQ(engine.calls, Calls{"InstallPrinter(" + longName + ",)"});
    sim::PressEscape();
}

struct PromptRow {
    const char* name;
    std::uint32_t locale;
    UiLanguage language;
    TextId prompt;
};

class ConnectPrompt : public WizardTest, public ::testing::WithParamInterface<PromptRow> {};

TEST_P(ConnectPrompt, AskedUntilThePrinterIsThereOrTheUserCancels) {
    Start(GetParam().locale);
    ToModelPage();
    sim::SelectListItem(IdcModelList, 0);
    sim::Click(IdcNext);
    ASSERT_TRUE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::OpenMessageBox()->text, LoadText(GetParam().language, GetParam().prompt));
    EXPECT_FALSE(sim::OpenMessageBox()->text.empty());
    EXPECT_EQ(sim::OpenMessageBox()->type & MbButtonsMask, MbOkCancel);
    sim::AnswerMessageBox(IdOk);
    EXPECT_TRUE(sim::OpenMessageBox().has_value()) << "still no printer: asked again";

    Printer(u"USB\\VID_0483&PID_5741\\B2", u"USBPRINT\\VQ10000000\\8&2&USB004");
    sim::AnswerMessageBox(IdOk);
    EXPECT_EQ(engine.calls,
              (Calls{"StageFiles(VQ-10000000,C:\\Varnoquill_Printer,1)",
                     "InstallStatusService(VQ-10000000)", "InstallPrinter(VQ-10000000,USB004)"}));
    EXPECT_EQ(PageTemplate(), IddCompletePage);
    sim::PressEscape();
}

// The Japanese table has no connect prompt; its retry text stands in.
const PromptRow PromptRows[] = {
    {"English", LocaleEnglish, UiLanguage::English, TextConnectPrinter},
    {"Chinese", LocaleChinese, UiLanguage::Chinese, TextConnectPrinter},
    {"Japanese", LocaleJapanese, UiLanguage::Japanese, TextConnectAndRetry},
};
INSTANTIATE_TEST_SUITE_P(Languages, ConnectPrompt, ::testing::ValuesIn(PromptRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WizardTest, CancellingTheConnectPromptStaysWithTheServiceAlreadyRegistered) {
    Start();
    ToModelPage();
    sim::SelectListItem(IdcModelList, 2);
    sim::Click(IdcNext);
    sim::AnswerMessageBox(IdCancel);
    EXPECT_EQ(PageTemplate(), IddModelPage);
    EXPECT_EQ(engine.calls, (Calls{"StageFiles(VQ-30000000,C:\\Varnoquill_Printer,1)",
                                   "InstallStatusService(VQ-30000000)"}));
    sim::PressEscape();
}

struct DetectionRow {
    const char* name;
    std::vector<sim::SimDevice> devices; // in enumeration order
    std::u16string model;
    bool detected;
    std::u16string port;
};

class Detection : public WizardTest, public ::testing::WithParamInterface<DetectionRow> {};

TEST_P(Detection, FindsThePrinterOfTheModel) {
    for (const sim::SimDevice& device : GetParam().devices)
        sim::PlugDevice(device);
    PrinterDetection found = DetectPrinter(GetParam().model);
    EXPECT_EQ(found.detected, GetParam().detected);
    EXPECT_EQ(found.port, GetParam().port);
}

sim::SimDevice Usb(std::u16string id, std::u16string child) {
    return {std::move(id), {}, {}, {std::move(child)}, u"printer"};
}

const DetectionRow DetectionRows[] = {
    {"HyphensAreDropped",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VARNOQUILL\\7&1&USB003")},
     u"VARNO-QUILL",
     true,
     u"USB003"},
    {"TenCharactersAfterTheBackslash",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ10000000X&USB005")},
     u"VQ10000000",
     true,
     u"USB005"},
    {"AShorterNameMustMatchAll",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ100&1&USB006")},
     u"VQ-100",
     false,
     u""},
    {"AShorterNameMatchingAll",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ100")},
     u"VQ-100",
     true,
     u"\\VQ100"},
    {"OtherVendor",
     {Usb(u"USB\\VID_0484&PID_5741\\1", u"USBPRINT\\VQ10000000")},
     u"VQ-10000000",
     false,
     u""},
    // With two printers attached the queue goes to the chosen model's port.
    {"TheOtherModelsPrinterGivesNoPort",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ10000000\\1&USB001"),
      Usb(u"USB\\VID_0483&PID_5741\\2", u"USBPRINT\\VQ20000000\\1&USB002")},
     u"VQ-10000000",
     true,
     u"USB001"},
    {"OfTwoOfTheModelTheLast",
     {Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ10000000\\1&USB001"),
      Usb(u"USB\\VID_0483&PID_5741\\2", u"USBPRINT\\VQ10000000\\1&USB002")},
     u"VQ-10000000",
     true,
     u"USB002"},
};
INSTANTIATE_TEST_SUITE_P(Devices, Detection, ::testing::ValuesIn(DetectionRows),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WizardTest, WithoutThePropertyFunctionNoPrinterIsFound) {
    sim::PlugDevice(Usb(u"USB\\VID_0483&PID_5741\\1", u"USBPRINT\\VQ10000000\\1&USB001"));
    sim::SetDevicePropertyApiPresent(false);
    EXPECT_FALSE(DetectPrinter(u"VQ-10000000").detected);
}

TEST_F(WizardTest, TheRemovalPageListsTheInstalledModelsOnly) {
    engine.queues = {u"VQ-20000000", u"VQ-30000000"};
    Start();
    sim::Click(IdcUninstall);
    sim::Click(IdcNext);
    EXPECT_EQ(sim::FindControl(IdcModelList)->listItems,
              (std::vector<sim::SimListItem>{{u"VQ-20000000", 0}, {u"VQ-30000000", 0}}));
    EXPECT_EQ(engine.calls, (Calls{"PrinterExists(VQ-10000000)", "PrinterExists(VQ-20000000)",
                                   "PrinterExists(VQ-30000000)"}));
    sim::PressEscape();
}

TEST_F(WizardTest, RemovingWithNothingListedSaysSoAndStays) {
    Start();
    sim::Click(IdcUninstall);
    sim::Click(IdcNext);
    sim::Click(IdcNext);
    ASSERT_TRUE(sim::OpenMessageBox().has_value());
    EXPECT_EQ(sim::OpenMessageBox()->text, u"No driver is selected yet!");
    sim::AnswerMessageBox(IdOk);
    EXPECT_EQ(PageTemplate(), IddRemovalPage);
    sim::PressEscape();
}

TEST_F(WizardTest, AFailedRemovalStillRemovesTheServiceAndShowsTheCode) {
    engine.queues = {u"VQ-10000000", u"VQ-20000000"};
    engine.removeResult = -1;
    engine.errorCode = 5;
    Start();
    sim::Click(IdcUninstall);
    sim::Click(IdcNext);
    engine.calls.clear();
    sim::SelectListItem(IdcModelList, 0);
    sim::SelectListItem(IdcModelList, 1);
    sim::Click(IdcNext);
    EXPECT_EQ(engine.calls,
              (Calls{"RemovePrinter(VQ-20000000)", "RemoveStatusService(VQ-20000000)"}));
    EXPECT_EQ(Caption(IdcResult), u"Error\r\nError Code:5");
    sim::PressEscape();
}

TEST_F(WizardTest, AWholeInstallationScriptedFromStartToEnd) {
    Ports({u"USB001"});
    Printer(u"USB\\VID_0483&PID_5741\\A1", u"USBPRINT\\VQ30000000\\7&1&USB001");
    auto click = [](std::int32_t id) {
        sim::UserAction action;
        action.kind = sim::ActionKind::Click;
        action.id = id;
        sim::Queue(action);
    };
    sim::UserAction pick;
    pick.kind = sim::ActionKind::SelectItem;
    pick.id = IdcModelList;
    pick.index = 2;
    sim::UserAction folder;
    folder.kind = sim::ActionKind::ChooseFolder;
    folder.path = u"D:\\VQ";
    click(IdcNext);
    click(IdcBrowse);
    sim::Queue(folder);
    click(IdcNext);
    sim::Queue(pick);
    click(IdcDefaultPrinter);
    click(IdcNext);
    click(IdcNext);
    Start();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(*exitCode, 0);
    EXPECT_EQ(engine.calls,
              (Calls{"StageFiles(VQ-30000000,D:\\VQ,1)", "InstallStatusService(VQ-30000000)",
                     "InstallPrinter(VQ-30000000,USB001)", "SetDefaultPrinter(VQ-30000000)"}));
    EXPECT_TRUE(sim::IgnoredActions().empty());
    EXPECT_EQ(sim::WindowCount(), 0u);
    EXPECT_EQ(sim::CurrentCursor(), LoadCursorW(IdcArrow).value);
}

TEST_F(WizardTest, AWholeRemovalClickByClick) {
    engine.queues = {u"VQ-10000000"};
    Start(LocaleChinese);
    sim::Click(IdcUninstall);
    sim::PressEnter();
    sim::SelectListItem(IdcModelList, 0);
    sim::PressEnter();
    EXPECT_EQ(Title(), u"完成");
    EXPECT_EQ(Caption(IdcResult), u"完成！");
    sim::PressEnter();
    EXPECT_TRUE(Ended());
    EXPECT_EQ(engine.calls, (Calls{"PrinterExists(VQ-10000000)", "PrinterExists(VQ-20000000)",
                                   "PrinterExists(VQ-30000000)", "RemovePrinter(VQ-10000000)",
                                   "RemoveStatusService(VQ-10000000)"}));
}

} // namespace
} // namespace wizardtest
