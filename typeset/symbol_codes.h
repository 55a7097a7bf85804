// Byte codes of the Symbol face's pieces and signs that the formula routines
// draw one at a time, and of the Wingdings pictographs the pages use.
#pragma once

#include <cstdint>

namespace symbol {
constexpr uint8_t Partial = 182;        // ∂
constexpr uint8_t Radical = 214;        // √
constexpr uint8_t Sigma = 229;          // large Σ
constexpr uint8_t LParenTop = 230, LParenBottom = 232;
constexpr uint8_t LBraceTop = 236, LBraceMiddle = 237, LBraceBottom = 238;
constexpr uint8_t BraceExtension = 239;
constexpr uint8_t IntegralTop = 243, IntegralBottom = 245;
constexpr uint8_t RParenTop = 246, RParenBottom = 248;
constexpr uint8_t RBraceTop = 252;      // then middle 253, bottom 254
constexpr int BraceSideStep = RBraceTop - LBraceTop;  // left hook + 16 = right hook
}  // namespace symbol

namespace wingdings {
constexpr uint8_t Diamond = 119;        // bullet
constexpr uint8_t BentArrow = 196;      // down, then curving right
constexpr uint8_t WideRightArrow = 224;
constexpr uint8_t HeavyLeftArrow = 231;
constexpr uint8_t HeavyRightArrow = 232;
}  // namespace wingdings
