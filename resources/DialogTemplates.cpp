#include "resources/DialogTemplates.h"

#include "resources/ResourceIds.h"

namespace {

using namespace platform;

constexpr std::u16string_view ShellFont = u"MS Shell Dlg";
constexpr std::uint32_t Control = WsChild | WsVisible;
constexpr std::uint32_t PageStyle = WsChild | DsShellFont;

// One template a block: id, style, extended style, position and size in
// dialog units, caption, font, and the controls in tab order.
// clang-format off
const DialogTemplate Templates[] = {
    {IddSetupFrame,
     WsPopup | WsCaption | WsSysMenu | DsModalFrame | DsShellFont,
     WsExAppWindow,
     0, 0, 320, 200,
     u"",
     ShellFont,
     9,
     {
         {IdcBack, ClassButton, u"", 154, 176, 50, 17, Control | WsTabStop | BsPushButton, 0},
         {IdcNext, ClassButton, u"", 204, 176, 50, 17, Control | WsTabStop | BsDefPushButton, 0},
         {IdcCancel, ClassButton, u"", 263, 176, 50, 17, Control | WsTabStop | BsPushButton, 0},
     }},
    {IddOperationPage,
     PageStyle,
     0, 0, 0, 294,
     118,
     u"",
     ShellFont,
     8,
     {
         {IdcInstall, ClassButton, u"", 47, 27, 93, 13,
          Control | WsGroup | WsTabStop | BsAutoRadioButton, 0},
         {IdcUninstall, ClassButton, u"", 47, 49, 93, 13, Control | BsAutoRadioButton, 0},
     }},
    // The model page: the model list across the top, the port row below
    // it, the three options at the bottom.
    {IddModelPage,
     PageStyle,
     0, 0, 0, 344,
     179,
     u"",
     ShellFont,
     8,
     {
         {IdcModelList, ClassListView, u"", 7, 7, 330, 100,
          Control | WsBorder | WsTabStop | LvsIcon | LvsAlignLeft | LvsNoLabelWrap |
              LvsShowSelAlways,
          0},
         {IdcPort, ClassComboBox, u"", 90, 114, 120, 80,
          Control | WsVScroll | WsTabStop | CbsDropDown | CbsAutoHScroll | CbsSort, 0},
         {IdcStatic, ClassStatic, u"", 7, 116, 80, 10, Control | SsLeft, 0},
         {IdcVirtualPort, ClassButton, u"", 7, 135, 220, 10, Control | WsTabStop | BsAutoCheckBox,
          0},
         {IdcDefaultPrinter, ClassButton, u"", 7, 149, 220, 10,
          Control | WsTabStop | BsAutoCheckBox, 0},
         {IdcStatusMonitor, ClassButton, u"", 7, 163, 220, 10, Control | WsTabStop | BsAutoCheckBox,
          0},
     }},
    {IddRemovalPage,
     PageStyle,
     0, 0, 0, 294,
     118,
     u"",
     ShellFont,
     8,
     {
         {IdcModelList, ClassListView, u"", 21, 25, 253, 78,
          Control | WsBorder | WsTabStop | LvsIcon | LvsAlignLeft, 0},
     }},
    {IddCompletePage,
     PageStyle,
     0, 0, 0, 294,
     118,
     u"",
     ShellFont,
     8,
     {
         {IdcResult, ClassStatic, u"", 19, 27, 260, 64, Control | WsGroup | SsLeft, 0},
     }},
    {IddFolderPage,
     PageStyle,
     0, 0, 0, 293,
     145,
     u"",
     ShellFont,
     8,
     {
         {IdcStatic, ClassStatic, u"", 23, 22, 255, 35, Control | WsGroup | SsLeft, 0},
         {IdcFolder, ClassEdit, u"", 25, 102, 167, 15,
          Control | WsBorder | WsTabStop | EsLeft | EsAutoHScroll | EsReadOnly, 0},
         {IdcBrowse, ClassButton, u"", 194, 101, 81, 16, Control | WsTabStop | BsPushButton,
          WsExDlgModalFrame},
         {IdcFolderGroup, ClassButton, u"", 23, 67, 254, 62, Control | BsGroupBox, 0},
     }},
};
// clang-format on

} // namespace

const DialogTemplate* FindDialogTemplate(std::uint16_t id) {
    for (const DialogTemplate& dialog : Templates)
        if (dialog.id == id)
            return &dialog;
    return nullptr;
}
