#include "wizard/TextTables.h"

namespace {

// The Japanese table has no rows 14 and 16; its row 24 stands between 15
// and 17. English and Chinese have no row 24.
constexpr LocalizedText JapaneseTexts[] = {
    {TextSelectOperation, u"アクションの選択"},
    {TextSelectDriver, u"選択駆動"},
    {TextComplete, u"完了"},
    {TextCancel, u"キャンセル"},
    {TextNextStep, u"次のステップ"},
    {TextPrevStep, u"前へ"},
    {TextInstall, u"インストール"},
    {TextUninstall, u"アンインストール"},
    {TextCompleted, u"完成!"},
    {TextPrinterExisted, u"プリンタは既に存在します"},
    {TextNoOperation, u"操作なし!"},
    {TextError, u"エラー"},
    {TextBadConfiguration, u"プリンタプロファイルがない、またはプロファイルが間違っている!"},
    {TextNoDriverSelected, u"ドライブが選択されていません!"},
    {TextErrorCode, u"エラーコード"},
    {TextConnectAndRetry, u"プリンターを接続して、もう一度やり直してください!"},
    {TextFolderIntro, u"インストーラは、プリンタドライバを次のフォルダにインストールします。別のフ"
                      u"ォルダにインストールする場合は、【フォルダを参照】をクリックし、別のフォル"
                      u"ダを選択します。【次へ】をクリックして続行します。"},
    {TextBrowse, u"フォルダを参照"},
    {TextBrowseFolder, u"フォルダを選択してください"},
    {TextSelectPort, u"プリンタポート:"},
    {TextVirtualPort, u"仮想プリンタポート"},
    {TextDefaultPrinter, u"デフォルトプリンタ"},
    {TextStatusMonitor, u"モニタ状態"},
};

constexpr LocalizedText EnglishTexts[] = {
    {TextSelectOperation, u"Select Operation"},
    {TextSelectDriver, u"Select Driver"},
    {TextComplete, u"Complete"},
    {TextCancel, u"Cancel"},
    {TextNextStep, u"Next Step >"},
    {TextPrevStep, u"< Prev Step"},
    {TextInstall, u"Install"},
    {TextUninstall, u"Uninstall"},
    {TextCompleted, u"Complete!"},
    {TextPrinterExisted, u"The printer has already existed!"},
    {TextNoOperation, u"No operation yet!"},
    {TextError, u"Error"},
    {TextBadConfiguration, u"No printer configuration file or error in configuration file!"},
    {TextNoDriverSelected, u"No driver is selected yet!"},
    {TextConnectPrinter, u"Please connect the printer before using the virtual port"},
    {TextErrorCode, u"Error Code"},
    {TextRestartToUninstall, u"Please restart your computer and uninstall it again"},
    {TextFolderIntro,
     u"Setup installs the printer driver to the following folder.If you want to install to a "
     u"different folder, click [Browse] and select another folder.Click [Next Step] to continue."},
    {TextBrowse, u"Browse"},
    {TextBrowseFolder, u"Please browse folder"},
    {TextSelectPort, u"Please select port:"},
    {TextVirtualPort, u"Use virtual printer port"},
    {TextDefaultPrinter, u"Set as default printer"},
    {TextStatusMonitor, u"Enable status monitor"},
};

constexpr LocalizedText ChineseTexts[] = {
    {TextSelectOperation, u"选择操作"},
    {TextSelectDriver, u"选择驱动"},
    {TextComplete, u"完成"},
    {TextCancel, u"取消"},
    {TextNextStep, u"下一步(N) >"},
    {TextPrevStep, u"< 上一步(B)"},
    {TextInstall, u"安装"},
    {TextUninstall, u"卸载"},
    {TextCompleted, u"完成！"},
    {TextPrinterExisted, u"打印机已经存在"},
    {TextNoOperation, u"无操作!"},
    {TextError, u"错误"},
    {TextBadConfiguration, u"无打印机配置文件或者配置文件错误!"},
    {TextNoDriverSelected, u"没有选择驱动!"},
    {TextConnectPrinter, u"请连接打印机后再使用虚拟端口"},
    {TextErrorCode, u"错误代码"},
    {TextRestartToUninstall, u"请重启电脑后再次卸载"},
    {TextFolderIntro, u"安装程序将打印机驱动安装到下列文件夹。如果要安装到不同的文件夹，点击【浏览"
                      u"文件夹】，并选择其他文件夹。点击【下一步】继续。"},
    {TextBrowse, u"浏览文件夹"},
    {TextBrowseFolder, u"请选择文件夹"},
    {TextSelectPort, u"请选择打印机端口:"},
    {TextVirtualPort, u"使用虚拟打印机端口"},
    {TextDefaultPrinter, u"设为默认打印机"},
    {TextStatusMonitor, u"启用状态监控"},
};
constexpr std::uint32_t PrimaryLanguageMask = 0x3FF;
constexpr std::uint32_t PrimaryLanguageChinese = 0x04;
constexpr std::uint32_t PrimaryLanguageJapanese = 0x11;

} // namespace

std::span<const LocalizedText> TextTable(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese:
        return JapaneseTexts;
    case UiLanguage::English:
        return EnglishTexts;
    case UiLanguage::Chinese:
        return ChineseTexts;
    case UiLanguage::None:
        break;
    }
    return {};
}

UiLanguage ChooseUiLanguage(std::uint32_t lcid) {
    switch (lcid) {
    case 0x0804:
        return UiLanguage::Chinese;
    case 0x0409:
    case 0x0809:
        return UiLanguage::English;
    case 0x0411:
        return UiLanguage::Japanese;
    default:
        break;
    }
    // A wizard with empty captions helps nobody: every other locale gets the
    // table of its primary language, or English.
    switch (lcid & PrimaryLanguageMask) {
    case PrimaryLanguageJapanese:
        return UiLanguage::Japanese;
    case PrimaryLanguageChinese:
        return UiLanguage::Chinese;
    default:
        return UiLanguage::English;
    }
}

bool GetText(UiLanguage language, TextId id, std::u16string& text) {
    for (const LocalizedText& row : TextTable(language)) {
        if (row.id == id) {
            text.assign(row.text);
            return true;
        }
    }
    return false;
}

std::u16string LoadText(UiLanguage language, TextId id) {
    std::u16string text;
    GetText(language, id, text); // a missing row leaves the text empty
    return text;
}
