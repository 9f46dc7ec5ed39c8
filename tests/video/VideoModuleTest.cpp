// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The video module, loaded from next to the program, and the ways it can be missing: no file, a
// file that is no shared object, a shared object without the entry point. Each leaves the clips
// refused with "Video decoding is not available" and why; finding the module again brings them
// back, and a clip opened before a failed load keeps decoding.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/ResourceError.h"
#include "tools/writers/VideoWriters.h"
#include "video/VideoModule.h"

namespace {

using namespace brasvel;
using namespace brasvel::video;

VideoOptions testOptions() {
    VideoOptions options;
    options.formats.assign(writers::kClipFormats.begin(), writers::kClipFormats.end());
    options.codecs.assign(writers::kClipCodecs.begin(), writers::kClipCodecs.end());
    return options;
}

const std::string& clipFile() {
    static const std::string file = writers::losslessClip({16, 8, 3, 15, 0, 1});
    return file;
}

VideoClip openClip() {
    const std::string& file = clipFile();
    return VideoClip::open({reinterpret_cast<const std::byte*>(file.data()), file.size()},
                           "INTRO.smk", testOptions());
}

class VideoModule : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(reloadVideoModule(""));  // the next test has its module again
    }
};

TEST_F(VideoModule, IsFoundNextToTheProgramOnTheFirstClip) {
    EXPECT_NO_THROW(openClip());
    EXPECT_TRUE(videoModuleLoaded());
    EXPECT_TRUE(canDecodeSmacker());
}

TEST_F(VideoModule, WithoutItEveryClipIsRefusedSayingWhy) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    const std::string notAnObject = (folder / "brasvel-not-a-module.so").string();
    std::ofstream(notAnObject) << "not a shared object";
    struct Case {
        std::string path;
        std::string why;  // a part of the detail
    };
    const Case cases[] = {
        {(folder / "brasvel-no-such-module.so").string(), "No such file"},
        {notAnObject, "brasvel-not-a-module.so"},
        // A shared object, loaded, without the module's entry point.
        {"libz.so.1", "not a video module of this version"},
    };
    VideoClip before = openClip();
    for (const Case& c : cases) {
        EXPECT_FALSE(reloadVideoModule(c.path)) << c.path;
        EXPECT_FALSE(videoModuleLoaded());
        EXPECT_FALSE(canDecodeSmacker());
        EXPECT_FALSE(canDecodeBink());
        try {
            openClip();
            ADD_FAILURE() << c.path << " opened a clip";
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), kVideoUnavailable);
            EXPECT_NE(error.detail().find(c.why), std::string::npos) << error.detail();
            EXPECT_EQ(error.entry(), "INTRO.smk");
        }
        // The clip opened on the module loaded before still decodes.
        EXPECT_EQ(before.frame(3).width, 16) << c.path;
    }
    std::filesystem::remove(notAnObject);
    EXPECT_TRUE(reloadVideoModule(""));
    EXPECT_EQ(openClip().frame(1).height, 8);
}

}  // namespace
