// The wizard's texts: three constant tables (Japanese, English, Chinese),
// the language chosen once from the user's locale, and the lookup by id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// The id of every text the wizard shows. The values are fixed: the tables
// store them.
enum TextId : std::int32_t {
    TextSelectOperation = 0,
    TextSelectDriver = 1,
    TextComplete = 2,
    TextCancel = 3,
    TextNextStep = 4,
    TextPrevStep = 5,
    TextInstall = 6,
    TextUninstall = 7,
    TextCompleted = 8,
    TextPrinterExisted = 9,
    TextNoOperation = 10,
    TextError = 11,
    TextBadConfiguration = 12,
    TextNoDriverSelected = 13,
    TextConnectPrinter = 14,
    TextErrorCode = 15,
    TextRestartToUninstall = 16,
    TextFolderIntro = 17,
    TextBrowse = 18,
    TextBrowseFolder = 19,
    TextSelectPort = 20,
    TextVirtualPort = 21,
    TextDefaultPrinter = 22,
    TextStatusMonitor = 23,
    TextConnectAndRetry = 24,
};

// None is where the frame starts; the choice from a locale never yields it.
enum class UiLanguage { Japanese, English, Chinese, None };

constexpr std::size_t LocalizedTextChars = 300;

// One row of a table: the text is zero-terminated and the rest of the field
// is zero.
struct LocalizedText {
    std::int32_t id;
    char16_t text[LocalizedTextChars];
};

// The rows of a language's table in their fixed order; none for None.
std::span<const LocalizedText> TextTable(UiLanguage language);

// The language for a locale id (GetUserDefaultLCID). The four locales the
// tables were written for choose as always; every other locale by its
// primary language: Japanese, Chinese, else English.
UiLanguage ChooseUiLanguage(std::uint32_t lcid);

// Assigns the row's text when the language's table has a row with this id
// and returns true; otherwise leaves text as it was. No other language's
// table is consulted.
bool GetText(UiLanguage language, TextId id, std::u16string& text);

// The row's text, or an empty string when the table has no such row.
std::u16string LoadText(UiLanguage language, TextId id);
