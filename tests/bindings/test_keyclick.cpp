// Data/keyclick.wav, the panel's key click: a plain PCM file that any player
// takes, short enough to be a click and audible without clipping.

#include "app/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

namespace {

// A little-endian unsigned number of `bytes` bytes at `at`.
std::uint32_t le(const std::string &s, std::size_t at, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(s[at + static_cast<std::size_t>(i)]);
    return v;
}

} // namespace

TEST(KeyClick, IsAShortPlainWaveFile)
{
    const std::string wav = varkel::test::readAll(VARKEL_SOURCE_DIR "/Data/keyclick.wav");
    ASSERT_GE(wav.size(), 44u) << "Data/keyclick.wav is missing";
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    // PCM, one channel, 16 bits.
    EXPECT_EQ(le(wav, 20, 2), 1u);
    EXPECT_EQ(le(wav, 22, 2), 1u);
    EXPECT_EQ(le(wav, 34, 2), 16u);
    const std::size_t dataAt = 20 + le(wav, 16, 4);
    ASSERT_EQ(wav.substr(dataAt, 4), "data");
    const std::uint32_t bytes = le(wav, dataAt + 4, 4);
    ASSERT_EQ(dataAt + 8 + bytes, wav.size());
    const double seconds = bytes / (2.0 * le(wav, 24, 4));
    EXPECT_TRUE(seconds > 0.005 && seconds < 0.1) << seconds << " s: a click, not a sound";

    int peak = 0;
    for (std::size_t i = dataAt + 8; i + 1 < wav.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(le(wav, i, 2)))));
    EXPECT_GT(peak, 32767 / 8) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
}
