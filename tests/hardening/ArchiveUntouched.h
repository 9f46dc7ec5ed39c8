// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the tests that the archive stays untouched share: archives of each kind made old in a
// folder of their own, and a check that an action leaves every one of them as it was: its bytes,
// its modification time and its inode.

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/hardening/HardeningSupport.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/PictureWriters.h"

namespace brasvel::hardening {

using writers::DefBlock;
using writers::DefFrame;
using writers::DefWriter;
using writers::LodWriter;
using writers::PixelGrid;
using writers::SndWriter;
using writers::VidWriter;

// A time long past, so that any write would show.
inline constexpr std::int64_t kOldTime = 1'000'000'000;

struct Fingerprint {
    std::string bytes;
    std::int64_t modifiedNs = 0;
    ino_t inode = 0;
    friend bool operator==(const Fingerprint&, const Fingerprint&) = default;
    friend void PrintTo(const Fingerprint& print, std::ostream* out) {
        *out << print.bytes.size() << " bytes, modified at " << print.modifiedNs << " ns, inode "
             << print.inode;
    }
};

inline Fingerprint fingerprintOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return {readFile(path), modifiedNs(path), status.st_ino};
}

inline void makeOld(const fs::path& path) {
    const timespec times[2] = {{kOldTime, 0}, {kOldTime, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

inline std::string palette() {
    std::string rgb;
    for (int i = 0; i < 768; ++i) {
        rgb += static_cast<char>(i % 251);
    }
    return rgb;
}

inline std::string sprite() {
    DefBlock block;
    for (int i = 0; i < 2; ++i) {
        DefFrame frame;
        frame.name = "frame" + std::to_string(i);
        frame.compression = 1;
        frame.sprite = PixelGrid(4, 3, static_cast<std::uint8_t>(5 + i));
        block.frames.push_back(frame);
    }
    return DefWriter(0x42, 6, 5, palette()).block(block).build();
}

inline std::string lodArchive(const std::string& selfName = {}) {
    LodWriter writer;
    writer.add("README.TXT", "a text entry", true)
        .add("PIC.PCX", writers::gamePcx8(PixelGrid(5, 4, 9), palette()), true)
        .add("HERO.DEF", sprite(), true)
        .addRaw("BAD.TXT", 1 << 30, 10, 0);
    if (!selfName.empty()) {
        writer.add(selfName, "an entry named like its own archive");
    }
    return writer.build();
}

// The archives of each kind, made old, in a folder of their own.
class ArchiveUntouched : public ::testing::Test {
protected:
    void SetUp() override {
        place = area.root() / "place";
        fs::create_directories(place);
        put("game.lod", lodArchive());
        put("game.snd", SndWriter().add("CHIME", "RIFF chime").add("BELL", "RIFF bell").build());
        put("game.vid",
            VidWriter().add("INTRO.SMK", "SMK2 intro").add("OUTRO.BIK", "BIKi").build());
    }

    fs::path put(const std::string& name, const std::string& bytes) {
        writeFile(place / name, bytes);
        makeOld(place / name);
        return place / name;
    }

    // Runs `action` and expects every archive as it was.
    void expectUntouchedBy(const std::string& what, const std::function<void()>& action) {
        std::vector<std::pair<fs::path, Fingerprint>> before;
        for (const char* name : {"game.lod", "game.snd", "game.vid", "self.lod"}) {
            if (fs::exists(place / name)) {
                before.emplace_back(place / name, fingerprintOf(place / name));
            }
        }
        action();
        for (const auto& [path, print] : before) {
            EXPECT_EQ(fingerprintOf(path), print) << path.filename() << " after " << what;
        }
    }

    void command(const std::vector<std::string>& arguments) {
        std::string what;
        for (const std::string& argument : arguments) {
            what += argument + " ";
        }
        expectUntouchedBy(what, [&] { runProgram(arguments, area.root() / "logs"); });
    }

    ScratchArea area;
    fs::path place;
};

}  // namespace brasvel::hardening
