// Ids of Setup's resources: the dialog templates, their controls and the icons.
#pragma once

#include <cstdint>

constexpr std::uint16_t IddSetupFrame = 102;
constexpr std::uint16_t IddOperationPage = 129;
constexpr std::uint16_t IddModelPage = 130;
constexpr std::uint16_t IddRemovalPage = 131;
constexpr std::uint16_t IddCompletePage = 132;
constexpr std::uint16_t IddFolderPage = 147;

constexpr std::uint16_t IdiProgram = 128;
constexpr std::uint16_t IdiPrinter = 134;

// The frame's buttons: Next and Cancel are the dialog manager's IDOK and IDCANCEL.
constexpr std::int32_t IdcBack = 1000;
constexpr std::int32_t IdcNext = 1;
constexpr std::int32_t IdcCancel = 2;

constexpr std::int32_t IdcInstall = 1001;
constexpr std::int32_t IdcUninstall = 1002;
constexpr std::int32_t IdcResult = 1003;
constexpr std::int32_t IdcModelList = 1004;
constexpr std::int32_t IdcPort = 1011;
constexpr std::int32_t IdcFolder = 1015;
constexpr std::int32_t IdcBrowse = 1016;
constexpr std::int32_t IdcVirtualPort = 1018;
constexpr std::int32_t IdcDefaultPrinter = 1019;
constexpr std::int32_t IdcStatusMonitor = 1020;
constexpr std::int32_t IdcFolderGroup = 1020;
