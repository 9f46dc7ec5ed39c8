// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The video part of convert and info: clips stored in a VID archive by the writers, read back as
// the command line reads an entry, then given to the video commands in this process (with the test
// container allowed) and to the built brasvel-res (which allows only the game's formats).

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "archive/EntryNames.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/VideoCommands.h"
#include "extract/EntryContent.h"
#include "imaging/PictureFormats.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/VideoWriters.h"

namespace {

namespace fs = std::filesystem;
using namespace brasvel;
using namespace brasvel::cli;
using brasvel::writers::ClipShape;

const ClipShape kShape{20, 10, 4, 15, 22050, 2};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class VideoCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "brasvel-video-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        std::ofstream(archive(), std::ios::binary)
            << writers::VidWriter()
                   .add("INTRO.smk", writers::losslessClip(kShape))
                   .add("CUT.BIK", writers::losslessClip(kShape).substr(0, 300))
                   .add("NOTES.txt", "not a clip")
                   .build();
        for (const std::string& format : writers::kClipFormats) {
            context_.options.formats.push_back(format);
        }
        for (const std::string& codec : writers::kClipCodecs) {
            context_.options.codecs.push_back(codec);
        }
        context_.out = &out_;
        context_.errors = &errors_;
    }
    void TearDown() override { fs::remove_all(root_); }

    fs::path archive() const { return root_ / "video.vid"; }

    // The entry's content, read as convert and info read it.
    std::vector<std::byte> content(const std::string& name) const {
        const Archive opened = Archive::open(archive().string(), kVidFormat);
        const std::optional<std::size_t> index = findEntryByCaption(opened.entries(), name);
        EXPECT_TRUE(index.has_value()) << name;
        return entryContent(opened, opened.entries()[*index]);
    }

    // Runs brasvel-res with `arguments` (shell words) in the test folder, with the environment's
    // `assignments` added; returns the exit code.
    int run(const std::string& arguments, const std::string& assignments = "") {
        const std::string command = "cd " + root_.string() + " && " + assignments + " " +
                                    BRASVEL_RES + " " + arguments + " > stdout 2> stderr";
        const int status = std::system(command.c_str());
        stdout_ = readFile(root_ / "stdout");
        stderr_ = readFile(root_ / "stderr");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    fs::path root_;
    VideoCommandContext context_;
    std::ostringstream out_;
    std::ostringstream errors_;
    std::string stdout_;
    std::string stderr_;
};

TEST_F(VideoCommands, InfoTellsTheClipsFiguresAsTextAndJson) {
    EXPECT_EQ(videoInfoCommand("INTRO.smk", content("INTRO.smk"), false, context_), kExitDone);
    EXPECT_EQ(videoInfoCommand("INTRO.smk", content("INTRO.smk"), true, context_), kExitDone);
    EXPECT_EQ(out_.str(),
              "INTRO.smk: video ffv1, 20 x 10, 15 frames/s, 4 frames, 0.266667 s; "
              "audio pcm_s16le, 22050 Hz, 2 channels\n"
              "{\"codec\":\"ffv1\",\"width\":20,\"height\":10,\"frameRate\":15,\"frames\":4,"
              "\"duration\":0.266667,\"audio\":{\"codec\":\"pcm_s16le\",\"rate\":22050,"
              "\"channels\":2}}\n");
    EXPECT_EQ(errors_.str(), "");
}

TEST_F(VideoCommands, ConvertWritesTheFrameAsA24BitBmpBottomRowFirst) {
    const fs::path out = root_ / "frame3.bmp";
    ASSERT_EQ(videoConvertCommand("INTRO.smk", content("INTRO.smk"), 3, out.string(), context_),
              kExitDone)
        << errors_.str();
    EXPECT_EQ(out_.str(), out.string() + ": 20 x 10\n");
    const std::string bmp = readFile(out);
    const std::size_t stride = 60;  // 20 × 3 bytes, already a multiple of 4
    ASSERT_EQ(bmp.size(), 54 + stride * 10);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    EXPECT_EQ(bmp[28], 24);
    const std::vector<std::uint8_t> rgb = writers::clipFramePixels(kShape, 2);
    for (std::size_t y = 0; y < 10; ++y) {
        for (std::size_t x = 0; x < 20; ++x) {
            const std::size_t at = 54 + (9 - y) * stride + x * 3;
            const std::size_t from = (y * 20 + x) * 3;
            ASSERT_EQ(std::uint8_t(bmp[at]), rgb[from + 2]) << x << "," << y;
            ASSERT_EQ(std::uint8_t(bmp[at + 1]), rgb[from + 1]) << x << "," << y;
            ASSERT_EQ(std::uint8_t(bmp[at + 2]), rgb[from]) << x << "," << y;
        }
    }
}

TEST_F(VideoCommands, ConvertNamesItsFileAfterTheEntryByDefault) {
    const fs::path previous = fs::current_path();
    fs::current_path(root_);
    const int code = videoConvertCommand("INTRO.smk", content("INTRO.smk"), 1, {}, context_);
    fs::current_path(previous);
    EXPECT_EQ(code, kExitDone) << errors_.str();
    EXPECT_TRUE(fs::exists(root_ / "INTRO.bmp"));
}

TEST_F(VideoCommands, AFailingEntryIsNamedAndWritesNothing) {
    const fs::path out = root_ / "never.bmp";
    EXPECT_EQ(videoConvertCommand("INTRO.smk", content("INTRO.smk"), 5, out.string(), context_),
              kExitEntryFailed);
    EXPECT_EQ(videoConvertCommand("CUT.BIK", content("CUT.BIK"), 1, out.string(), context_),
              kExitEntryFailed);
    EXPECT_EQ(videoInfoCommand("CUT.BIK", content("CUT.BIK"), true, context_), kExitEntryFailed);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(out_.str(), "");
    const std::string errors = errors_.str();
    EXPECT_NE(errors.find("brasvel-res: INTRO.smk: Frame not found (frame 5 of a stream that "
                          "ends after 4 frames)\n"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find("brasvel-res: CUT.BIK: "), std::string::npos) << errors;
}

TEST_F(VideoCommands, TheProgramReadsOnlyTheGameFormatsAndKeepsItsExitCodes) {
    // The test clip is AVI inside: the program refuses it as an entry failure.
    EXPECT_EQ(run("info video.vid INTRO.smk --json"), 1);
    EXPECT_EQ(stdout_, "");
    EXPECT_EQ(stderr_.rfind("brasvel-res: INTRO.smk: Not a video (", 0), 0u) << stderr_;
    EXPECT_EQ(run("convert video.vid INTRO.smk --frame 2 -o out.bmp"), 1);
    EXPECT_FALSE(fs::exists(root_ / "out.bmp"));
    EXPECT_EQ(run("convert video.vid INTRO.smk"), 1);
    EXPECT_FALSE(fs::exists(root_ / "INTRO.bmp"));
    EXPECT_EQ(run("convert video.vid INTRO.smk --frame 0"), 2);
    EXPECT_EQ(run("info video.vid MISSING.smk"), 2);
    EXPECT_EQ(run("info video.vid NOTES.txt"), 1);
}

TEST_F(VideoCommands, ConvertRefusesTheSpriteOptionsForAVideoBeforeDecodingItButTakesPng) {
    for (const std::string options : {"--selection -o frame", "--keep-palette -o frame.png"}) {
        EXPECT_EQ(run("convert video.vid INTRO.smk " + options), 2) << options;
        EXPECT_NE(stderr_.find("DEF sprites only"), std::string::npos) << options << stderr_;
        EXPECT_FALSE(fs::exists(root_ / "frame.png") || fs::exists(root_ / "frame")) << options;
    }
    // PNG is no usage error: the program goes on to decode, and refuses the test clip's AVI.
    for (const std::string options :
         {"-o frame.png", "-o frame.PNG", "--format png -o frame", "--format png"}) {
        EXPECT_EQ(run("convert video.vid INTRO.smk " + options), 1) << options;
        EXPECT_EQ(stderr_.rfind("brasvel-res: INTRO.smk: Not a video (", 0), 0u) << stderr_;
    }
    EXPECT_EQ(run("convert video.vid INTRO.smk --format bmp -o frame.png"), 2);
    EXPECT_NE(stderr_.find("contradicts"), std::string::npos) << stderr_;
}

TEST_F(VideoCommands, ConvertWritesTheFrameAsPngByItsName) {
    for (const std::string name : {"frame2.png", "FRAME2.PNG"}) {
        const fs::path out = root_ / name;
        ASSERT_EQ(videoConvertCommand("INTRO.smk", content("INTRO.smk"), 2, out.string(), context_),
                  kExitDone)
            << errors_.str();
        const std::string png = readFile(out);
        ASSERT_EQ(png.substr(1, 3), "PNG") << name;
        const Picture decoded = decodePicture(
            {reinterpret_cast<const std::byte*>(png.data()), png.size()}, PictureFormat::Png);
        EXPECT_EQ(decoded.width, 20);
        EXPECT_EQ(decoded.height, 10);
        EXPECT_EQ(decoded.pixels, writers::clipFramePixels(kShape, 1)) << name;
    }
    EXPECT_EQ(errors_.str(), "");
}

// A start that decodes no video maps none of FFmpeg's libraries; the first video loads them.
TEST_F(VideoCommands, OnlyAVideoCommandLoadsFfmpeg) {
    const struct {
        std::string arguments;
        bool loadsFfmpeg;
    } cases[] = {
        {"--version", false},
        {"list video.vid", false},
        {"list --json video.vid", false},
        {"extract video.vid NOTES.txt -o .", false},
        {"info video.vid INTRO.smk", true},
    };
    for (const auto& c : cases) {
        run(c.arguments, "LD_DEBUG=libs");
        const bool loaded = stderr_.find("calling init: ") != std::string::npos &&
                            stderr_.find("/libavcodec.so") != std::string::npos;
        EXPECT_EQ(loaded, c.loadsFfmpeg) << c.arguments;
        EXPECT_EQ(stderr_.find("/libbrasvel-video.so") != std::string::npos, c.loadsFfmpeg)
            << c.arguments;
    }
}

TEST_F(VideoCommands, WithoutTheVideoModuleVideosSayDecodingIsNotAvailable) {
    const std::string missing = "BRASVEL_VIDEO_MODULE=" + (root_ / "missing.so").string();
    const std::string archiveBefore = readFile(archive());
    for (const std::string arguments :
         {"info video.vid INTRO.smk", "info video.vid CUT.BIK --json",
          "convert video.vid INTRO.smk -o frame.png", "convert video.vid INTRO.smk"}) {
        EXPECT_EQ(run(arguments, missing), 2) << arguments;
        EXPECT_EQ(stdout_, "") << arguments;
        EXPECT_NE(stderr_.find(": Video decoding is not available ("), std::string::npos)
            << arguments << ": " << stderr_;
        EXPECT_NE(stderr_.find("missing.so"), std::string::npos) << stderr_;
    }
    EXPECT_FALSE(fs::exists(root_ / "frame.png") || fs::exists(root_ / "INTRO.bmp"));
    // Everything else works.
    EXPECT_EQ(run("list video.vid", missing), 0) << stderr_;
    EXPECT_EQ(run("verify video.vid", missing), 0) << stderr_;
    EXPECT_EQ(run("extract video.vid INTRO.smk -o .", missing), 0) << stderr_;
    EXPECT_TRUE(fs::exists(root_ / "INTRO.smk"));
    EXPECT_EQ(run("info video.vid NOTES.txt", missing), 1);
    EXPECT_EQ(readFile(archive()), archiveBefore);
}

TEST_F(VideoCommands, ConvertNeverWritesAFrameOverTheArchiveByAnyName) {
    const std::string before = readFile(archive());
    fs::create_hard_link(archive(), root_ / "LINKED.bmp");
    for (const std::string out : {"video.vid", "./video.vid", "LINKED.bmp"}) {
        EXPECT_EQ(run("convert video.vid INTRO.smk -o " + out), 2) << out;
        EXPECT_NE(stderr_.find("is the archive being read"), std::string::npos) << stderr_;
    }
    EXPECT_EQ(readFile(archive()), before);
}

}  // namespace
