#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "wizard/TextTables.h"

namespace {

// Table rows carry their own test names.
template <class Row> std::string RowName(const ::testing::TestParamInfo<Row>& row) {
    return row.param.name;
}

const char* NameOf(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese:
        return "Japanese";
    case UiLanguage::English:
        return "English";
    case UiLanguage::Chinese:
        return "Chinese";
    case UiLanguage::None:
        break;
    }
    return "None";
}

// Every row of the three tables, in table order, as the wizard must show it.
struct TextRow {
    const char* name;
    UiLanguage language;
    TextId id;
    std::u16string_view text;
};

void PrintTo(const TextRow& row, std::ostream* out) {
    *out << row.name;
}

const TextRow TextRows[] = {
    {"Japanese_SelectOperation", UiLanguage::Japanese, TextSelectOperation, u"アクションの選択"},
    {"Japanese_SelectDriver", UiLanguage::Japanese, TextSelectDriver, u"選択駆動"},
    {"Japanese_Complete", UiLanguage::Japanese, TextComplete, u"完了"},
    {"Japanese_Cancel", UiLanguage::Japanese, TextCancel, u"キャンセル"},
    {"Japanese_NextStep", UiLanguage::Japanese, TextNextStep, u"次のステップ"},
    {"Japanese_PrevStep", UiLanguage::Japanese, TextPrevStep, u"前へ"},
    {"Japanese_Install", UiLanguage::Japanese, TextInstall, u"インストール"},
    {"Japanese_Uninstall", UiLanguage::Japanese, TextUninstall, u"アンインストール"},
    {"Japanese_Completed", UiLanguage::Japanese, TextCompleted, u"完成!"},
    {"Japanese_PrinterExisted", UiLanguage::Japanese, TextPrinterExisted,
     u"プリンタは既に存在します"},
    {"Japanese_NoOperation", UiLanguage::Japanese, TextNoOperation, u"操作なし!"},
    {"Japanese_Error", UiLanguage::Japanese, TextError, u"エラー"},
    {"Japanese_BadConfiguration", UiLanguage::Japanese, TextBadConfiguration,
     u"プリンタプロファイルがない、またはプロファイルが間違っている!"},
    {"Japanese_NoDriverSelected", UiLanguage::Japanese, TextNoDriverSelected,
     u"ドライブが選択されていません!"},
    {"Japanese_ErrorCode", UiLanguage::Japanese, TextErrorCode, u"エラーコード"},
    {"Japanese_ConnectAndRetry", UiLanguage::Japanese, TextConnectAndRetry,
     u"プリンターを接続して、もう一度やり直してください!"},
    {"Japanese_FolderIntro", UiLanguage::Japanese, TextFolderIntro,
     u"インストーラは、プリンタドライバを次のフォルダにインストールします。別のフォルダにインストー"
     u"ルする場合は、【フォルダを参照】をクリックし、別のフォルダを選択します。【次へ】をクリックし"
     u"て続行します。"},
    {"Japanese_Browse", UiLanguage::Japanese, TextBrowse, u"フォルダを参照"},
    {"Japanese_BrowseFolder", UiLanguage::Japanese, TextBrowseFolder,
     u"フォルダを選択してください"},
    {"Japanese_SelectPort", UiLanguage::Japanese, TextSelectPort, u"プリンタポート:"},
    {"Japanese_VirtualPort", UiLanguage::Japanese, TextVirtualPort, u"仮想プリンタポート"},
    {"Japanese_DefaultPrinter", UiLanguage::Japanese, TextDefaultPrinter, u"デフォルトプリンタ"},
    {"Japanese_StatusMonitor", UiLanguage::Japanese, TextStatusMonitor, u"モニタ状態"},
    {"English_SelectOperation", UiLanguage::English, TextSelectOperation, u"Select Operation"},
    {"English_SelectDriver", UiLanguage::English, TextSelectDriver, u"Select Driver"},
    {"English_Complete", UiLanguage::English, TextComplete, u"Complete"},
    {"English_Cancel", UiLanguage::English, TextCancel, u"Cancel"},
    {"English_NextStep", UiLanguage::English, TextNextStep, u"Next Step >"},
    {"English_PrevStep", UiLanguage::English, TextPrevStep, u"< Prev Step"},
    {"English_Install", UiLanguage::English, TextInstall, u"Install"},
    {"English_Uninstall", UiLanguage::English, TextUninstall, u"Uninstall"},
    {"English_Completed", UiLanguage::English, TextCompleted, u"Complete!"},
    {"English_PrinterExisted", UiLanguage::English, TextPrinterExisted,
     u"The printer has already existed!"},
    {"English_NoOperation", UiLanguage::English, TextNoOperation, u"No operation yet!"},
    {"English_Error", UiLanguage::English, TextError, u"Error"},
    {"English_BadConfiguration", UiLanguage::English, TextBadConfiguration,
     u"No printer configuration file or error in configuration file!"},
    {"English_NoDriverSelected", UiLanguage::English, TextNoDriverSelected,
     u"No driver is selected yet!"},
    {"English_ConnectPrinter", UiLanguage::English, TextConnectPrinter,
     u"Please connect the printer before using the virtual port"},
    {"English_ErrorCode", UiLanguage::English, TextErrorCode, u"Error Code"},
    {"English_RestartToUninstall", UiLanguage::English, TextRestartToUninstall,
     u"Please restart your computer and uninstall it again"},
    {"English_FolderIntro", UiLanguage::English, TextFolderIntro,
     u"Setup installs the printer driver to the following folder.If you want to install to a "
     u"different folder, click [Browse] and select another folder.Click [Next Step] to continue."},
    {"English_Browse", UiLanguage::English, TextBrowse, u"Browse"},
    {"English_BrowseFolder", UiLanguage::English, TextBrowseFolder, u"Please browse folder"},
    {"English_SelectPort", UiLanguage::English, TextSelectPort, u"Please select port:"},
    {"English_VirtualPort", UiLanguage::English, TextVirtualPort, u"Use virtual printer port"},
    {"English_DefaultPrinter", UiLanguage::English, TextDefaultPrinter, u"Set as default printer"},
    {"English_StatusMonitor", UiLanguage::English, TextStatusMonitor, u"Enable status monitor"},
    {"Chinese_SelectOperation", UiLanguage::Chinese, TextSelectOperation, u"选择操作"},
    {"Chinese_SelectDriver", UiLanguage::Chinese, TextSelectDriver, u"选择驱动"},
    {"Chinese_Complete", UiLanguage::Chinese, TextComplete, u"完成"},
    {"Chinese_Cancel", UiLanguage::Chinese, TextCancel, u"取消"},
    {"Chinese_NextStep", UiLanguage::Chinese, TextNextStep, u"下一步(N) >"},
    {"Chinese_PrevStep", UiLanguage::Chinese, TextPrevStep, u"< 上一步(B)"},
    {"Chinese_Install", UiLanguage::Chinese, TextInstall, u"安装"},
    {"Chinese_Uninstall", UiLanguage::Chinese, TextUninstall, u"卸载"},
    {"Chinese_Completed", UiLanguage::Chinese, TextCompleted, u"完成！"},
    {"Chinese_PrinterExisted", UiLanguage::Chinese, TextPrinterExisted, u"打印机已经存在"},
    {"Chinese_NoOperation", UiLanguage::Chinese, TextNoOperation, u"无操作!"},
    {"Chinese_Error", UiLanguage::Chinese, TextError, u"错误"},
    {"Chinese_BadConfiguration", UiLanguage::Chinese, TextBadConfiguration,
     u"无打印机配置文件或者配置文件错误!"},
    {"Chinese_NoDriverSelected", UiLanguage::Chinese, TextNoDriverSelected, u"没有选择驱动!"},
    {"Chinese_ConnectPrinter", UiLanguage::Chinese, TextConnectPrinter,
     u"请连接打印机后再使用虚拟端口"},
    {"Chinese_ErrorCode", UiLanguage::Chinese, TextErrorCode, u"错误代码"},
    {"Chinese_RestartToUninstall", UiLanguage::Chinese, TextRestartToUninstall,
     u"请重启电脑后再次卸载"},
    {"Chinese_FolderIntro", UiLanguage::Chinese, TextFolderIntro,
     u"安装程序将打印机驱动安装到下列文件夹。如果要安装到不同的文件夹，点击【浏览文件夹】，并选择其"
     u"他文件夹。点击【下一步】继续。"},
    {"Chinese_Browse", UiLanguage::Chinese, TextBrowse, u"浏览文件夹"},
    {"Chinese_BrowseFolder", UiLanguage::Chinese, TextBrowseFolder, u"请选择文件夹"},
    {"Chinese_SelectPort", UiLanguage::Chinese, TextSelectPort, u"请选择打印机端口:"},
    {"Chinese_VirtualPort", UiLanguage::Chinese, TextVirtualPort, u"使用虚拟打印机端口"},
    {"Chinese_DefaultPrinter", UiLanguage::Chinese, TextDefaultPrinter, u"设为默认打印机"},
    {"Chinese_StatusMonitor", UiLanguage::Chinese, TextStatusMonitor, u"启用状态监控"},
};

class TextRowTest : public ::testing::TestWithParam<TextRow> {};

TEST_P(TextRowTest, LookupGivesTheTextCharacterForCharacter) {
    const TextRow& row = GetParam();
    EXPECT_EQ(LoadText(row.language, row.id), row.text);
    std::u16string text = u"previous";
    EXPECT_TRUE(GetText(row.language, row.id, text));
    EXPECT_EQ(text, row.text);
}

TEST_P(TextRowTest, FieldIsZeroAfterTheText) {
    const TextRow& row = GetParam();
    auto table = TextTable(row.language);
    auto found = std::find_if(table.begin(), table.end(),
                              [&](const LocalizedText& entry) { return entry.id == row.id; });
    ASSERT_NE(found, table.end());
    ASSERT_LT(row.text.size(), LocalizedTextChars);
    EXPECT_TRUE(std::all_of(found->text + row.text.size(), found->text + LocalizedTextChars,
                            [](char16_t c) { return c == 0; }));
}

INSTANTIATE_TEST_SUITE_P(AllRows, TextRowTest, ::testing::ValuesIn(TextRows), RowName<TextRow>);

std::vector<std::int32_t> IdsInRowOrder(UiLanguage language) {
    std::vector<std::int32_t> ids;
    for (const LocalizedText& row : TextTable(language))
        ids.push_back(row.id);
    return ids;
}

std::vector<std::int32_t> ExpectedIds(UiLanguage language) {
    std::vector<std::int32_t> ids;
    for (const TextRow& row : TextRows)
        if (row.language == language)
            ids.push_back(row.id);
    return ids;
}

TEST(TextTables, RowsStandInTheirFixedOrder) {
    EXPECT_EQ(IdsInRowOrder(UiLanguage::Japanese),
              (std::vector<std::int32_t>{0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                         12, 13, 15, 24, 17, 18, 19, 20, 21, 22, 23}));
    for (UiLanguage language : {UiLanguage::Japanese, UiLanguage::English, UiLanguage::Chinese})
        EXPECT_EQ(IdsInRowOrder(language), ExpectedIds(language)) << NameOf(language);
    EXPECT_TRUE(TextTable(UiLanguage::None).empty());
}

// Ids without a row in a table yield nothing, with no other language filled in.
struct MissingRow {
    const char* name;
    UiLanguage language;
    std::int32_t id;
};

void PrintTo(const MissingRow& row, std::ostream* out) {
    *out << row.name;
}

const MissingRow MissingRows[] = {
    {"Japanese_ConnectPrinter", UiLanguage::Japanese, TextConnectPrinter},
    {"Japanese_RestartToUninstall", UiLanguage::Japanese, TextRestartToUninstall},
    {"English_ConnectAndRetry", UiLanguage::English, TextConnectAndRetry},
    {"Chinese_ConnectAndRetry", UiLanguage::Chinese, TextConnectAndRetry},
    {"Japanese_99", UiLanguage::Japanese, 99},
    {"English_99", UiLanguage::English, 99},
    {"Chinese_99", UiLanguage::Chinese, 99},
    {"Japanese_Negative", UiLanguage::Japanese, -1},
    {"None_Cancel", UiLanguage::None, TextCancel},
    {"None_99", UiLanguage::None, 99},
};

class MissingRowTest : public ::testing::TestWithParam<MissingRow> {};

TEST_P(MissingRowTest, YieldsNothing) {
    const MissingRow& row = GetParam();
    const TextId id = static_cast<TextId>(row.id);
    EXPECT_EQ(LoadText(row.language, id), u"");
    std::u16string text = u"unchanged";
    EXPECT_FALSE(GetText(row.language, id, text));
    EXPECT_EQ(text, u"unchanged");
}

INSTANTIATE_TEST_SUITE_P(Lookups, MissingRowTest, ::testing::ValuesIn(MissingRows),
                         RowName<MissingRow>);

// The language of a locale id: the four exact values, then the primary
// language, so that no locale is left without texts.
struct LocaleChoice {
    const char* name;
    std::uint32_t lcid;
    UiLanguage language;
};

void PrintTo(const LocaleChoice& row, std::ostream* out) {
    *out << row.name;
}

const LocaleChoice LocaleChoices[] = {
    {"ChinesePrc", 0x0804, UiLanguage::Chinese},
    {"EnglishUnitedStates", 0x0409, UiLanguage::English},
    {"EnglishUnitedKingdom", 0x0809, UiLanguage::English},
    {"JapaneseJapan", 0x0411, UiLanguage::Japanese},
    {"ChineseHongKong", 0x0C04, UiLanguage::Chinese},
    {"ChineseTaiwan", 0x0404, UiLanguage::Chinese},
    {"ChineseSingapore", 0x1004, UiLanguage::Chinese},
    {"EnglishAustralia", 0x0C09, UiLanguage::English},
    {"EnglishCanada", 0x1009, UiLanguage::English},
    {"GermanGermany", 0x0407, UiLanguage::English},
    {"KoreanKorea", 0x0412, UiLanguage::English},
    {"Invariant", 0x007F, UiLanguage::English},
    {"Zero", 0x0000, UiLanguage::English},
    {"JapaneseWithSortId", 0x00010411, UiLanguage::Japanese},
    {"ChineseWithSortId", 0x00020804, UiLanguage::Chinese},
};

class LocaleChoiceTest : public ::testing::TestWithParam<LocaleChoice> {};

TEST_P(LocaleChoiceTest, ChoosesALanguage) {
    EXPECT_EQ(ChooseUiLanguage(GetParam().lcid), GetParam().language)
        << NameOf(ChooseUiLanguage(GetParam().lcid));
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleChoiceTest, ::testing::ValuesIn(LocaleChoices),
                         RowName<LocaleChoice>);

TEST(TextTables, BritishAndAmericanEnglishShowTheSameTexts) {
    for (std::int32_t id = TextSelectOperation; id <= TextConnectAndRetry; ++id)
        EXPECT_EQ(LoadText(ChooseUiLanguage(0x0409), static_cast<TextId>(id)),
                  LoadText(ChooseUiLanguage(0x0809), static_cast<TextId>(id)))
            << id;
}

} // namespace
