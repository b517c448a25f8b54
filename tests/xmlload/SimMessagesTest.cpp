#include <gtest/gtest.h>

#include "platform/System.h"

using platform::FormatMessageW;

TEST(SimMessages, HoldsWindowsTextsForFileErrors) {
    const std::pair<platform::WinError, std::u16string> cases[] = {
        {2, u"The system cannot find the file specified.\r\n"},
        {3, u"The system cannot find the path specified.\r\n"},
        {5, u"Access is denied.\r\n"},
        {6, u"The handle is invalid.\r\n"},
        {32, u"The process cannot access the file because it is being used by another "
             u"process.\r\n"},
        {38, u"Reached the end of the file.\r\n"},
        {87, u"The parameter is incorrect.\r\n"},
        {123, u"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    };
    for (const auto& [id, text] : cases) {
        auto message = FormatMessageW(id, 100);
        ASSERT_TRUE(message.Ok()) << id;
        EXPECT_EQ(message.value, text);
    }
}

TEST(SimMessages, NeedsRoomForTheTerminator) {
    std::u16string text = u"The system cannot find the file specified.\r\n";
    auto size = static_cast<std::uint32_t>(text.size());
    EXPECT_EQ(FormatMessageW(2, size).error, platform::ErrorInsufficientBuffer);
    EXPECT_EQ(FormatMessageW(2, size + 1).value, text);
    EXPECT_EQ(FormatMessageW(2, 0).error, platform::ErrorInsufficientBuffer);
}

TEST(SimMessages, UnknownIdsHaveNoText) {
    EXPECT_EQ(FormatMessageW(99999, 100).error, 317u);
}
