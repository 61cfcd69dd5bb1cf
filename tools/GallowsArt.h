// The gallows pictures: one stage for each number of misses, drawn in the 16 standard Windows
// colours so every stage fits a 4-bit BMP.
#pragma once

#include <cstdint>
#include <vector>

namespace gallows {

constexpr int kSide = 200;
constexpr int kLastStage = 10;

// Stage `misses` (0 to kLastStage) as kSide * kSide palette indices, row by row from the top.
// Every stage holds the one before it plus one part; the last one also darkens the sky.
std::vector<std::uint8_t> drawStage(int misses);

// A whole BMP file of kSide * kSide pixels at 4 bits per pixel.
std::vector<std::uint8_t> encodeBmp(const std::vector<std::uint8_t>& pixels);

}  // namespace gallows
