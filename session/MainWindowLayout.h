#pragma once

// Where the main window's controls stand, in pixels at 96 dpi. The constructor places them;
// ArrangeMainWindow sets their left edges (and the buttons' widths) again, as the window has
// always done on every session start.

#include <QRect>

#include <cstdint>

namespace layout {

constexpr QRect DealButtonRect{20, 12, 160, 25};
constexpr QRect DrawButtonRect{332, 12, 160, 25};
constexpr QRect StakeFieldRect{261, 12, 33, 24};
constexpr QRect SpinnerRect{294, 12, 15, 24};
constexpr QRect StakeLabelRect{197, 14, 55, 20};
constexpr QRect FundLabelRect{517, 14, 61, 20};
constexpr QRect FundFieldRect{596, 12, 50, 24};
constexpr int KeepTop = 63;
constexpr int KeepHeight = 13;
constexpr int KeepLefts[5] = {51, 184, 310, 443, 570};
constexpr int KeepWidths[5] = {93, 91, 89, 88, 86};
constexpr int PlayerTop = 100;
constexpr int ComputerTop = 250;
// The stake field keeps at most this; its spinner stops there too.
constexpr std::int32_t LargestStake = 990;

} // namespace layout
