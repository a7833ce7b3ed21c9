// Data/keyclick.wav, the panel's key click: a plain PCM file that any player
// takes, short enough to be a click and audible without clipping.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::uint32_t le32(const std::string &s, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

std::uint16_t le16(const std::string &s, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) |
                                      static_cast<unsigned char>(s[at + 1]) << 8);
}

} // namespace

TEST(KeyClick, IsAShortPlainWaveFile)
{
    std::ifstream in(VARKEL_SOURCE_DIR "/Data/keyclick.wav", std::ios::binary);
    ASSERT_TRUE(in) << "Data/keyclick.wav is missing";
    const std::string wav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 4), "WAVE");
    ASSERT_EQ(wav.substr(12, 4), "fmt ");
    EXPECT_EQ(le16(wav, 20), 1) << "PCM";
    const int channels = le16(wav, 22);
    const std::uint32_t rate = le32(wav, 24);
    const int bits = le16(wav, 34);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
    const std::size_t dataAt = 20 + le32(wav, 16);
    ASSERT_EQ(wav.substr(dataAt, 4), "data");
    const std::uint32_t bytes = le32(wav, dataAt + 4);
    ASSERT_EQ(dataAt + 8 + bytes, wav.size());

    const double seconds = static_cast<double>(bytes) / (rate * channels * bits / 8);
    EXPECT_GT(seconds, 0.005);
    EXPECT_LT(seconds, 0.1) << "a click, not a sound";

    int peak = 0;
    for (std::size_t i = dataAt + 8; i + 1 < wav.size(); i += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(le16(wav, i)))));
    EXPECT_GT(peak, 32767 / 8) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
}
