#include <algorithm>

#include "platform/Files.h"
#include "platform/Spooler.h"
#include "tests/contract/ContractTest.h"

namespace contract {
namespace {

using namespace platform;

constexpr char16_t ScratchQueue[] = u"VqContract Queue";
constexpr char16_t ScratchDriver[] = u"VqContract Driver";
constexpr char16_t DriverFiles[][24] = {u"vqcontract_drv.dll", u"vqcontract_ui.dll",
                                        u"vqcontract.ppd"};

class SpoolerContract : public ContractTest {
  protected:
    void SetUp() override {
        ContractTest::SetUp();
        RemoveScratch();
    }
    void TearDown() override { RemoveScratch(); }

    static void RemoveScratch() {
        PrinterDefaults all{u"", PrinterAllAccess};
        if (auto queue = OpenPrinterW(ScratchQueue, &all))
            DeletePrinter(queue.value);
        DeletePrinterDriverW(u"", ScratchDriver);
    }

    // Driver files live in the spooler's driver directory before the
    // driver is added; their contents do not matter to the spooler here.
    static Status AddScratchDriver() {
        auto directory = GetPrinterDriverDirectoryW(u"");
        if (!directory)
            return Failure(directory.error);
        for (const char16_t* name : DriverFiles) {
            auto file = CreateFileW(directory.value + u"\\" + name, GenericWrite, 0, CreateAlways,
                                    FileAttributeNormal);
            if (!file)
                return Failure(file.error);
        }
        DriverInfo3 driver;
        driver.name = ScratchDriver;
        driver.driverPath = directory.value + u"\\" + DriverFiles[0];
        driver.configFile = directory.value + u"\\" + DriverFiles[1];
        driver.dataFile = directory.value + u"\\" + DriverFiles[2];
        return AddPrinterDriverW(driver);
    }

    static PrinterInfo2 ScratchQueueInfo(std::u16string_view port) {
        PrinterInfo2 info;
        info.printerName = ScratchQueue;
        info.portName = port;
        info.driverName = ScratchDriver;
        info.printProcessor = u"winprint";
        info.datatype = u"RAW";
        return info;
    }
};

TEST_F(SpoolerContract, OpeningAMissingQueueIsInvalidPrinterName) {
    const PrinterDefaults all{u"", PrinterAllAccess};
    const PrinterDefaults* defaults[] = {nullptr, &all};
    for (const PrinterDefaults* d : defaults) {
        auto queue = OpenPrinterW(u"VqContract Absent", d);
        EXPECT_EQ(queue.error, ErrorInvalidPrinterName) << (d ? "with" : "without") << " defaults";
        EXPECT_FALSE(queue.value.IsValid());
    }
}

TEST_F(SpoolerContract, EnumPortsWListsTheLocalPorts) {
    auto ports = EnumPortsW();
    ASSERT_TRUE(ports) << ports.error;
    ASSERT_FALSE(ports.value.empty());
    for (const PortInfo2& port : ports.value)
        EXPECT_FALSE(port.portName.empty());
    auto has = [&](std::u16string_view name) {
        return std::any_of(ports.value.begin(), ports.value.end(),
                           [&](const PortInfo2& p) { return p.portName == name; });
    };
    EXPECT_TRUE(has(u"LPT1:"));
    EXPECT_TRUE(has(u"FILE:"));
}

std::u16string Upper(std::u16string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char16_t ch) {
        return ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
    });
    return text;
}

struct DriverDirectoryCase {
    std::u16string environment;
    std::u16string lastFolder;
};

TEST_F(SpoolerContract, GetPrinterDriverDirectoryWNamesAFolderPerEnvironment) {
    const DriverDirectoryCase cases[] = {
        {u"Windows x64", u"\\x64"},
        {u"Windows NT x86", u"\\W32X86"},
    };
    for (const DriverDirectoryCase& c : cases) {
        auto directory = GetPrinterDriverDirectoryW(c.environment);
        ASSERT_TRUE(directory) << directory.error;
        ASSERT_GT(directory.value.size(), c.lastFolder.size());
        std::u16string tail = directory.value.substr(directory.value.size() - c.lastFolder.size());
        EXPECT_EQ(Upper(tail), Upper(c.lastFolder));
        EXPECT_TRUE(PathFileExistsW(directory.value));
    }
}

TEST_F(SpoolerContract, ADriverAndItsQueueGoThroughTheirWholeLife) {
    ASSERT_TRUE(AddScratchDriver());
    auto added = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    ASSERT_TRUE(added) << added.error;

    auto info = GetPrinterW(added.value);
    ASSERT_TRUE(info) << info.error;
    EXPECT_EQ(info.value.printerName, ScratchQueue);
    EXPECT_EQ(info.value.portName, u"FILE:");
    EXPECT_EQ(info.value.driverName, ScratchDriver);

    PrinterInfo2 moved = info.value;
    moved.portName = u"LPT1:";
    EXPECT_TRUE(SetPrinterW(added.value, moved));
    PrinterDefaults all{u"", PrinterAllAccess};
    auto reopened = OpenPrinterW(ScratchQueue, &all);
    ASSERT_TRUE(reopened) << reopened.error;
    EXPECT_EQ(GetPrinterW(reopened.value).value.portName, u"LPT1:");

    EXPECT_TRUE(DeletePrinter(reopened.value));
    reopened.value.Reset();
    added.value.Reset();
    EXPECT_EQ(OpenPrinterW(ScratchQueue, &all).error, ErrorInvalidPrinterName);
    EXPECT_TRUE(DeletePrinterDriverW(u"", ScratchDriver));
    // Wine names the wrong kind of thing in its answer.
    WinError again =
        Env().Kind() == Machine::Wine ? ErrorInvalidPrinterName : ErrorUnknownPrinterDriver;
    EXPECT_EQ(DeletePrinterDriverW(u"", ScratchDriver).error, again);
}

// Wine's spooler implements no level-0 command: every one fails with
// ErrorInvalidLevel and leaves the status alone. Windows, and so the
// simulated machine, carries them out.
struct ControlCase {
    const char* what;
    std::uint32_t command;
    std::uint32_t statusWord;
    std::uint32_t bit; // the status bit the command concerns
    bool bitSetAfter;
};

TEST_F(SpoolerContract, LevelZeroCommandsPauseResumeAndSetTheStatus) {
    ASSERT_TRUE(AddScratchDriver());
    auto added = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    ASSERT_TRUE(added) << added.error;
    const bool wine = Env().Kind() == Machine::Wine;
    const ControlCase cases[] = {
        {"pause", PrinterControlPause, 0, PrinterStatusPaused, true},
        {"resume", PrinterControlResume, 0, PrinterStatusPaused, false},
        {"status offline", PrinterControlSetStatus, PrinterStatusOffline, PrinterStatusOffline,
         true},
        {"status door open", PrinterControlSetStatus, PrinterStatusDoorOpen, PrinterStatusDoorOpen,
         true},
        {"status cleared", PrinterControlSetStatus, 0, PrinterStatusDoorOpen, false},
    };
    for (const ControlCase& c : cases) {
        Status done = SetPrinterW(added.value, c.command, c.statusWord);
        auto info = GetPrinterW(added.value);
        ASSERT_TRUE(info) << info.error;
        if (wine) {
            EXPECT_EQ(done.error, ErrorInvalidLevel) << c.what << " on Wine";
            EXPECT_EQ(info.value.status, 0u) << c.what << " on Wine";
        } else {
            EXPECT_TRUE(done) << c.what << ": " << done.error;
            EXPECT_EQ((info.value.status & c.bit) != 0, c.bitSetAfter) << c.what;
        }
    }
}

// Windows refuses a second queue of the same name; Wine accepts it and the
// one queue of that name takes the second one's settings.
TEST_F(SpoolerContract, AddingAQueueTwiceIsPrinterAlreadyExistsExceptOnWine) {
    ASSERT_TRUE(AddScratchDriver());
    auto first = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    ASSERT_TRUE(first) << first.error;
    auto second = AddPrinterW(ScratchQueueInfo(u"LPT1:"));
    if (Env().Kind() == Machine::Wine) {
        ASSERT_TRUE(second) << second.error;
        EXPECT_EQ(GetPrinterW(second.value).value.portName, u"LPT1:");
        EXPECT_EQ(GetPrinterW(first.value).value.portName, u"LPT1:");
    } else {
        EXPECT_EQ(second.error, ErrorPrinterAlreadyExists);
        EXPECT_FALSE(second.value.IsValid());
    }
}

// Windows keeps a driver that a queue uses; Wine deletes it anyway.
TEST_F(SpoolerContract, DeletingADriverInUseIsDriverInUseExceptOnWine) {
    ASSERT_TRUE(AddScratchDriver());
    auto added = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    ASSERT_TRUE(added) << added.error;
    Status deleted = DeletePrinterDriverW(u"", ScratchDriver);
    if (Env().Kind() == Machine::Wine)
        EXPECT_TRUE(deleted) << deleted.error;
    else
        EXPECT_EQ(deleted.error, ErrorPrinterDriverInUse);
}

// Setup goes on with an empty port name when the machine has no USB port.
// Windows refuses a port it does not know, the empty name too; Wine creates
// the queue on whatever port it is given (and must not fall over on an
// empty one).
TEST_F(SpoolerContract, AQueueOnAnUnknownPortIsUnknownPortExceptOnWine) {
    ASSERT_TRUE(AddScratchDriver());
    constexpr WinError ErrorUnknownPort = 1796;
    for (std::u16string_view port : {u"", u"VQNOPORT:"}) {
        SCOPED_TRACE(port.empty() ? "an empty port name" : "a port the spooler does not know");
        auto added = AddPrinterW(ScratchQueueInfo(port));
        if (Env().Kind() == Machine::Wine) {
            ASSERT_TRUE(added) << added.error;
            EXPECT_EQ(GetPrinterW(added.value).value.portName, port);
            EXPECT_TRUE(DeletePrinter(added.value));
        } else {
            EXPECT_EQ(added.error, ErrorUnknownPort);
            EXPECT_FALSE(added.value.IsValid());
        }
    }
}

TEST_F(SpoolerContract, AddingADriverTwiceSucceeds) {
    ASSERT_TRUE(AddScratchDriver());
    EXPECT_TRUE(AddScratchDriver());
}

TEST_F(SpoolerContract, TheDefaultPrinterOperationTakesAnExistingQueueOnly) {
    ASSERT_TRUE(AddScratchDriver());
    auto added = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    ASSERT_TRUE(added) << added.error;
    EXPECT_TRUE(SetDefaultPrinterByOrdinal(ScratchQueue));
    EXPECT_EQ(SetDefaultPrinterByOrdinal(u"VqContract Absent").error, ErrorInvalidPrinterName);
}

// The spooler keeps its own copies of a new driver's files in the version
// folder of the driver directory; the files it was given stay.
TEST_F(SpoolerContract, AnAddedDriversFilesAreCopiedIntoItsVersionFolder) {
    ASSERT_TRUE(AddScratchDriver());
    auto directory = GetPrinterDriverDirectoryW(u"");
    ASSERT_TRUE(directory) << directory.error;
    for (const char16_t* name : DriverFiles) {
        EXPECT_TRUE(PathFileExistsW(directory.value + u"\\3\\" + name))
            << static_cast<char>(name[0]);
        EXPECT_TRUE(PathFileExistsW(directory.value + u"\\" + name)) << static_cast<char>(name[0]);
    }
    DeletePrinterDriverW(u"", ScratchDriver);
    for (const char16_t* name : DriverFiles)
        DeleteFileW(directory.value + u"\\" + name);
}

// Windows refuses a driver whose files are not there; Wine registers it
// all the same.
TEST_F(SpoolerContract, ADriverWhoseFileIsMissingIsNotAddedExceptOnWine) {
    auto directory = GetPrinterDriverDirectoryW(u"");
    ASSERT_TRUE(directory) << directory.error;
    DriverInfo3 driver;
    driver.name = ScratchDriver;
    driver.driverPath = directory.value + u"\\vqcontract_absent.dll";
    driver.configFile = directory.value + u"\\vqcontract_absent_ui.dll";
    driver.dataFile = directory.value + u"\\vqcontract_absent.ppd";
    Status added = AddPrinterDriverW(driver);
    if (Env().Kind() == Machine::Wine) {
        EXPECT_TRUE(added) << added.error;
        EXPECT_TRUE(DeletePrinterDriverW(u"", ScratchDriver));
    } else {
        EXPECT_EQ(added.error, ErrorFileNotFound);
        EXPECT_NE(DeletePrinterDriverW(u"", ScratchDriver).error, ErrorSuccess);
    }
}

// Opening the local port monitor with the right to administer the server
// is the administrator test; an administrator (and Wine's user) may.
TEST_F(SpoolerContract, TheLocalPortMonitorOpensForAnAdministrator) {
    const PrinterDefaults administer{u"", 0x1};
    auto monitor = OpenPrinterW(u",XcvMonitor Local Port", &administer);
    EXPECT_TRUE(monitor) << monitor.error;
}

TEST_F(SpoolerContract, AnUnknownEnvironmentHasNoDriverDirectory) {
    EXPECT_EQ(GetPrinterDriverDirectoryW(u"Windows Bogus").error, ErrorInvalidEnvironment);
}

TEST_F(SpoolerContract, AddingAQueueForAnUnknownDriverFails) {
    auto added = AddPrinterW(ScratchQueueInfo(u"FILE:"));
    EXPECT_EQ(added.error, ErrorUnknownPrinterDriver);
}

} // namespace
} // namespace contract
