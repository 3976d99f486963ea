#include "vek/video/FfmpegApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace
{
using Qel::impl::FfmpegLibraryNames;
using Qel::impl::GetFfmpegLibraryNames;
using Qel::impl::LoadFfmpegLibraries;

TEST(FfmpegApi, TheHeadersSonamesLoadWithEveryFunction)
{
    const std::unique_ptr<Qel::impl::FfmpegLibraries> libraries =
        LoadFfmpegLibraries(GetFfmpegLibraryNames());
    ASSERT_NE(libraries, nullptr);
    EXPECT_NE(Qel::impl::GetFfmpeg(), nullptr);
}

TEST(FfmpegApi, AMissingLibraryIsNamedOnceAndLoadsNothing)
{
    FfmpegLibraryNames names = GetFfmpegLibraryNames();
    names[Qel::impl::FFMPEG_CODEC] = "libqel-no-such-codec.so.0";
    testing::internal::CaptureStdout();
    const std::unique_ptr<Qel::impl::FfmpegLibraries> libraries = LoadFfmpegLibraries(names);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(libraries, nullptr);
    EXPECT_EQ(output.rfind("[Video] Cannot load libqel-no-such-codec.so.0", 0), 0u) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}
} // namespace
