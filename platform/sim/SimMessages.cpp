// The simulated machine's system message table: Windows' own English texts,
// so that a reported error reads as it would on Windows.
#include "platform/System.h"
#include "platform/sim/SimFaults.h"

namespace platform {
namespace {

// ERROR_MR_MID_NOT_FOUND: no text for the id.
constexpr WinError ErrorMrMidNotFound = 317;

struct SystemMessage {
    WinError id;
    const char16_t* text;
};

constexpr SystemMessage Messages[] = {
    {0, u"The operation completed successfully.\r\n"},
    {1, u"Incorrect function.\r\n"},
    {2, u"The system cannot find the file specified.\r\n"},
    {3, u"The system cannot find the path specified.\r\n"},
    {4, u"The system cannot open the file.\r\n"},
    {5, u"Access is denied.\r\n"},
    {6, u"The handle is invalid.\r\n"},
    {8, u"Not enough memory resources are available to process this command.\r\n"},
    {14, u"Not enough memory resources are available to complete this operation.\r\n"},
    {15, u"The system cannot find the drive specified.\r\n"},
    {21, u"The device is not ready.\r\n"},
    {23, u"Data error (cyclic redundancy check).\r\n"},
    {30, u"The system cannot read from the specified device.\r\n"},
    {31, u"A device attached to the system is not functioning.\r\n"},
    {32, u"The process cannot access the file because it is being used by another process.\r\n"},
    {33, u"The process cannot access the file because another process has locked a portion of "
         u"the file.\r\n"},
    {38, u"Reached the end of the file.\r\n"},
    {53, u"The network path was not found.\r\n"},
    {67, u"The network name cannot be found.\r\n"},
    {80, u"The file exists.\r\n"},
    {87, u"The parameter is incorrect.\r\n"},
    {122, u"The data area passed to a system call is too small.\r\n"},
    {123, u"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {124, u"The system call level is not correct.\r\n"},
    {161, u"The specified path is invalid.\r\n"},
    {183, u"Cannot create a file when that file already exists.\r\n"},
    {206, u"The filename or extension is too long.\r\n"},
    {259, u"No more data is available.\r\n"},
    {267, u"The directory name is invalid.\r\n"},
    {317, u"The system cannot find message text for message number 0x%1 in the message file "
          u"for %2.\r\n"},
    {1053, u"The service did not respond to the start or control request in a timely "
           u"fashion.\r\n"},
    {1054, u"A thread could not be created for the service.\r\n"},
    {1056, u"An instance of the service is already running.\r\n"},
    {1058, u"The service cannot be started, either because it is disabled or because it has no "
           u"enabled devices associated with it.\r\n"},
    {1060, u"The specified service does not exist as an installed service.\r\n"},
    {1061, u"The service cannot accept control messages at this time.\r\n"},
    {1062, u"The service has not been started.\r\n"},
    {1063, u"The service process could not connect to the service controller.\r\n"},
    {1072, u"The specified service has been marked for deletion.\r\n"},
    {1073, u"The specified service already exists.\r\n"},
    {1113, u"No mapping for the Unicode character exists in the target multi-byte code "
           u"page.\r\n"},
    {1117, u"The request could not be performed because of an I/O device error.\r\n"},
    {1167, u"The device is not connected.\r\n"},
    {1392, u"The file or directory is corrupted and unreadable.\r\n"},
    {1797, u"The printer driver is unknown.\r\n"},
    {1801, u"The printer name is invalid.\r\n"},
    {1802, u"The printer already exists.\r\n"},
    {3001, u"The specified printer driver is currently in use.\r\n"},
};

const char16_t* TextOf(WinError id) {
    for (const SystemMessage& message : Messages)
        if (message.id == id)
            return message.text;
    return nullptr;
}

} // namespace

Outcome<std::u16string> FormatMessageW(WinError messageId, std::uint32_t bufferChars) {
    if (WinError e = sim::TakeFault("FormatMessageW"))
        return Outcome<std::u16string>::Failure(e);
    const char16_t* text = TextOf(messageId);
    if (!text)
        return Outcome<std::u16string>::Failure(ErrorMrMidNotFound);
    std::u16string message(text);
    // The buffer must also hold the terminator.
    if (message.size() + 1 > bufferChars)
        return Outcome<std::u16string>::Failure(ErrorInsufficientBuffer);
    return message;
}

} // namespace platform
