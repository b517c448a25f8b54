// A dialog template as data: the frame, its font and its controls, in dialog
// units. Both builds create their windows from the same table; the Windows
// build turns it into a DLGTEMPLATEEX in memory, the simulated desktop reads
// it as it is. The style values are Windows' own numbers.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// Window styles.
constexpr std::uint32_t WsPopup = 0x80000000;
constexpr std::uint32_t WsChild = 0x40000000;
constexpr std::uint32_t WsVisible = 0x10000000;
constexpr std::uint32_t WsDisabled = 0x08000000;
constexpr std::uint32_t WsCaption = 0x00C00000; // border and dialog frame
constexpr std::uint32_t WsBorder = 0x00800000;
constexpr std::uint32_t WsDlgFrame = 0x00400000;
constexpr std::uint32_t WsVScroll = 0x00200000;
constexpr std::uint32_t WsSysMenu = 0x00080000;
constexpr std::uint32_t WsGroup = 0x00020000;
constexpr std::uint32_t WsTabStop = 0x00010000;

// Extended window styles.
constexpr std::uint32_t WsExDlgModalFrame = 0x00000001;
constexpr std::uint32_t WsExClientEdge = 0x00000200;
constexpr std::uint32_t WsExAppWindow = 0x00040000;

// Dialog styles.
constexpr std::uint32_t DsSetFont = 0x0040;
constexpr std::uint32_t DsModalFrame = 0x0080;
constexpr std::uint32_t DsFixedSys = 0x0008;
constexpr std::uint32_t DsShellFont = DsSetFont | DsFixedSys;

// Button styles; the low four bits are the kind.
constexpr std::uint32_t BsPushButton = 0x0;
constexpr std::uint32_t BsDefPushButton = 0x1;
constexpr std::uint32_t BsAutoCheckBox = 0x3;
constexpr std::uint32_t BsGroupBox = 0x7;
constexpr std::uint32_t BsAutoRadioButton = 0x9;
constexpr std::uint32_t BsKindMask = 0xF;

constexpr std::uint32_t SsLeft = 0x0;
constexpr std::uint32_t EsLeft = 0x0;
constexpr std::uint32_t EsAutoHScroll = 0x0080;
constexpr std::uint32_t EsReadOnly = 0x0800;

constexpr std::uint32_t CbsDropDown = 0x0002;
constexpr std::uint32_t CbsAutoHScroll = 0x0040;
constexpr std::uint32_t CbsSort = 0x0100;

constexpr std::uint32_t LvsIcon = 0x0000;
constexpr std::uint32_t LvsShowSelAlways = 0x0008;
constexpr std::uint32_t LvsAlignLeft = 0x0800;
constexpr std::uint32_t LvsNoLabelWrap = 0x0080;

// The predefined window classes the templates use.
constexpr std::u16string_view ClassButton = u"Button";
constexpr std::u16string_view ClassStatic = u"Static";
constexpr std::u16string_view ClassEdit = u"Edit";
constexpr std::u16string_view ClassComboBox = u"ComboBox";
constexpr std::u16string_view ClassListView = u"SysListView32";
constexpr std::u16string_view ClassDialog = u"#32770";

// The id of a control nobody addresses by id (IDC_STATIC).
constexpr std::int32_t IdcStatic = -1;

struct DialogControl {
    std::int32_t id = IdcStatic;
    std::u16string_view className;
    std::u16string_view text;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};

struct DialogTemplate {
    std::uint16_t id = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string_view caption;
    std::u16string_view fontName;
    std::uint16_t pointSize = 0;
    std::vector<DialogControl> controls;
};

} // namespace platform
