// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Every reader of an entry sees one archive: entries, content, extraction one by one and in a
// batch, damage and change marks agree, saved or edited, through undo and redo, and a save opened
// again reads as the edits did.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>

#include "tests/window/WindowFolderTest.h"
#include "tools/writers/ArchiveWriters.h"
#include "window/ArchiveSession.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;
using namespace writers;

class ArchiveSessionTest : public WindowFolderTest {
protected:
    void open(ArchiveSession& session, const std::string& path) {
        ASSERT_TRUE(session.open(path, kLodFormat, {}, [](const ArchiveFormat&) { return false; }));
    }

    std::map<std::string, std::string> filesOf(const fs::path& where) const {
        std::map<std::string, std::string> files;
        for (const std::string& name : filesIn(where)) {
            files[name] = read(where / name);
        }
        return files;
    }

    // "NAME=content" per entry in directory order ("NAME=damaged" once a read failed and was
    // noted, as the preview notes it), "*" after a changed one; extraction must write the same.
    std::string readAll(ArchiveSession& session, const std::string& run) {
        const fs::path single = folder / (run + "-single");
        const fs::path batch = folder / (run + "-batch");
        fs::create_directories(single);
        fs::create_directories(batch);
        std::string reads;
        std::set<std::string> written;
        const TargetFolder singleFolder(single.string());
        for (std::size_t index = 0; index < session.entries().size(); ++index) {
            std::string got = "damaged";
            try {
                const std::vector<std::byte> content = session.content(index);
                got.assign(reinterpret_cast<const char*>(content.data()), content.size());
            } catch (const ResourceError& error) {
                EXPECT_TRUE(session.noteDamage(index, error.describe()));
            }
            const ExtractedEntry outcome = session.extract(0, index, singleFolder, written);
            EXPECT_EQ(outcome.done(), got != "damaged");
            EXPECT_EQ(session.damage(index).has_value(), got == "damaged");
            EXPECT_EQ(outcome.done() ? read(single / outcome.fileName) : got, got);
            reads += editName(session.entries()[index]) + "=" + got +
                     (session.isChanged(index) ? "* " : " ");
        }
        std::vector<std::size_t> all(session.entries().size());
        std::iota(all.begin(), all.end(), 0);
        session.extractEach(all, TargetFolder(batch.string()), [](const auto&) { return true; });
        EXPECT_EQ(filesOf(batch), filesOf(single));
        return reads;
    }
};

TEST_F(ArchiveSessionTest, everyReadAgreesSavedEditedUndoneAndReopened) {
    // BAD.TXT states a zlib stream that is none: damaged, found only when its content is read.
    const std::string path = write("game.lod", LodWriter()
                                                   .add("ALPHA.TXT", "alpha", true)
                                                   .addStored("BAD.TXT", "not zlib", 40, 8)
                                                   .add("GAMMA.TXT", "gamma")
                                                   .build());
    const std::string saved = "ALPHA.TXT=alpha BAD.TXT=damaged GAMMA.TXT=gamma ";
    const auto bytes = [](std::string_view text) {
        return std::vector<std::byte>(asBytes(text).begin(), asBytes(text).end());
    };
    const struct {
        const char* name;
        std::function<void(ArchiveEdit&)> edit;  // none: the archive stays as saved
        std::string reads;
    } cases[] = {
        {"saved", nullptr, saved},
        {"add", [&](ArchiveEdit& e) { e.put("BETA.TXT", bytes("beta")); },
         "ALPHA.TXT=alpha BAD.TXT=damaged BETA.TXT=beta* GAMMA.TXT=gamma "},
        {"replace", [&](ArchiveEdit& e) { e.put("GAMMA.TXT", bytes("new")); },
         "ALPHA.TXT=alpha BAD.TXT=damaged GAMMA.TXT=new* "},
        {"remove", [](ArchiveEdit& e) { e.remove(*e.find("ALPHA.TXT")); },
         "BAD.TXT=damaged GAMMA.TXT=gamma "},
        {"rename the damaged", [](ArchiveEdit& e) { e.rename(*e.find("BAD.TXT"), "WORSE.TXT"); },
         "ALPHA.TXT=alpha GAMMA.TXT=gamma WORSE.TXT=damaged* "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        ArchiveSession session;
        open(session, path);
        EXPECT_EQ(readAll(session, name + "-before"), saved);
        if (c.edit) {
            EditState before = session.state();
            c.edit(session.edit());
            session.record(std::move(before), {name, {}, {}});
        }
        EXPECT_EQ(session.hasChanges(), c.edit != nullptr);
        EXPECT_EQ(session.damagedCount(), 1u) << "the damage found before goes into the edit";
        EXPECT_EQ(readAll(session, name), c.reads);
        if (c.edit) {
            session.undo();
            EXPECT_EQ(readAll(session, name + "-undone"), saved);
            session.redo();
            EXPECT_EQ(readAll(session, name + "-redone"), c.reads);
        }

        SaveOptions keepDamaged;
        keepDamaged.damaged = DamagedEntries::Keep;
        session.edit().save((folder / (name + ".lod")).string(), keepDamaged);
        ArchiveSession reopened;
        open(reopened, (folder / (name + ".lod")).string());
        std::string unmarked = c.reads;
        std::erase(unmarked, '*');
        EXPECT_EQ(readAll(reopened, name + "-reopened"), unmarked);
    }
}

}  // namespace
}  // namespace brasvel
