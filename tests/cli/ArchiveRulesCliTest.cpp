// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Runs the built brasvel-res on archives it must refuse or treat with care: files of another kind
// or of none, names that differ only in case, numbers written loosely, and names that would
// steer the terminal. Every refused command leaves every file byte for byte as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "cli/Arguments.h"
#include "tests/support/TestPlatform.h"
#include "tools/writers/ArchiveWriters.h"

namespace {

namespace fs = std::filesystem;
using brasvel::writers::LodWriter;
using brasvel::writers::SndWriter;

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ArchiveRules : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = brasvel::testing::makeScratchFolder("brasvel-rules-cli");
        fs::create_directories(root_ / "out");
    }
    void TearDown() override { fs::remove_all(root_); }

    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(root_ / name, std::ios::binary) << bytes;
    }

    // Runs brasvel-res in the scratch folder with `arguments` (shell words); the exit code.
    int run(const std::string& arguments) {
        const std::string command = "cd '" + root_.string() + "' && " + BRASVEL_RES + " " +
                                    arguments + " > stdout 2> stderr";
        const int code = brasvel::testing::shellExitCode(command);
        stdout_ = readWhole(root_ / "stdout");
        stderr_ = readWhole(root_ / "stderr");
        return code;
    }

    // Every file of the scratch folder and its bytes, but the program's output.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> found;
        for (const auto& item : fs::recursive_directory_iterator(root_)) {
            const std::string name = item.path().filename().string();
            if (item.is_regular_file() && name != "stdout" && name != "stderr") {
                found[fs::relative(item.path(), root_).string()] = readWhole(item.path());
            }
        }
        return found;
    }

    fs::path root_;
    std::string stdout_;
    std::string stderr_;
};

std::string noise(std::size_t length) {
    std::string bytes(length, '\0');
    std::uint32_t state = 88172645u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state & 0xff);
    }
    return bytes;
}

// A file that cannot be of the kind asked is refused before any listing or edit, by every
// command, with what it looks like; nothing is listed, written or changed.
TEST_F(ArchiveRules, AFileOfAnotherKindOrOfNoneIsRefusedByEveryCommand) {
    put("sounds.lod", SndWriter().add("HORSE", "neigh").add("DOG", "woof").build());
    put("noise.lod", noise(200000));
    put("pictures.snd", LodWriter().add("A.PCX", "pcx").build());
    put("empty.vid", "");
    put("NEW.TXT", "new");
    const std::map<std::string, std::string> archives = {
        {"sounds.lod", "Not a LOD archive (it looks like an SND archive)"},
        {"noise.lod", "Not a LOD archive (it has no LOD signature)"},
        {"pictures.snd", "Not an SND archive (it looks like a LOD archive)"},
        {"empty.vid", "Not a VID archive (it is empty)"},
    };
    const std::string commands[] = {
        "list %",        "list --json %",  "verify %",           "extract -o out %",
        "add % NEW.TXT", "remove % HORSE", "rename % HORSE COW", "info % A.PCX"};
    const auto before = files();
    for (const auto& [archive, message] : archives) {
        for (std::string command : commands) {
            command.replace(command.find('%'), 1, archive);
            EXPECT_EQ(run(command), 2) << command << ": " << stderr_;
            EXPECT_EQ(stderr_, "brasvel-res: " + archive + ": " + message + "\n") << command;
            EXPECT_EQ(stdout_, "") << command;
            EXPECT_EQ(files(), before) << command;
        }
    }
    // Named as what it is, it is read.
    EXPECT_EQ(run("list --kind snd sounds.lod"), 0) << stderr_;
    EXPECT_EQ(stdout_, "HORSE.Wav\t5\t5\t100\nDOG.Wav\t4\t4\t105\nTotal Files: 2\n");
}

// In an archive holding A.TXT and a.txt, a name acts on the entry it names exactly; one that names
// several only in other cases is refused, naming them, and the archive stays as it was.
TEST_F(ArchiveRules, NamesThatDifferOnlyInCaseActOnTheExactOneOrAreRefused) {
    const std::string twins =
        LodWriter().add("A.TXT", "upper").add("a.txt", "lower").add("B.TXT", "bee").build();
    const std::string ambiguity =
        "Ambiguous name (\"A.txt\" names \"A.TXT\" and \"a.txt\", which differ only in case); "
        "nothing was changed\n";
    fs::create_directories(root_ / "in");
    std::ofstream(root_ / "in" / "a.txt") << "new lower";
    if (!brasvel::testing::kOnWindows) {  // one file there: names differing in case are one
        std::ofstream(root_ / "in" / "A.txt") << "new mixed";
    }
    struct Case {
        std::string arguments;
        int exitCode;
        std::string kept;  // what `list` shows after it, names in order
        std::string message;
    };
    const Case cases[] = {
        {"remove t.lod a.txt", 0, "A.TXT B.TXT", ""},
        {"remove t.lod A.TXT", 0, "a.txt B.TXT", ""},
        {"remove t.lod b.txt", 0, "A.TXT a.txt", ""},
        {"remove t.lod A.txt", 1, "A.TXT a.txt B.TXT", ambiguity},
        {"rename t.lod a.txt C.TXT", 0, "A.TXT B.TXT C.TXT", ""},  // kept sorted
        {"rename t.lod A.txt C.TXT", 1, "A.TXT a.txt B.TXT", ambiguity},
        {"add t.lod in/a.txt", 0, "A.TXT a.txt B.TXT", ""},
        {"add t.lod in/A.txt", 1, "A.TXT a.txt B.TXT", "in/A.txt: " + ambiguity},
    };
    for (const Case& c : cases) {
        if (brasvel::testing::kOnWindows && c.arguments == "add t.lod in/A.txt") {
            continue;
        }
        put("t.lod", twins);
        EXPECT_EQ(run(c.arguments), c.exitCode) << c.arguments << ": " << stderr_;
        if (c.exitCode != 0) {
            EXPECT_EQ(stderr_, "brasvel-res: t.lod: " + c.message) << c.arguments;
            EXPECT_EQ(readWhole(root_ / "t.lod"), twins) << c.arguments;
        }
        ASSERT_EQ(run("list t.lod"), 0);
        std::string names;
        for (std::size_t at = 0; at < stdout_.size();) {
            const std::size_t end = stdout_.find('\n', at);
            const std::string row = stdout_.substr(at, end - at);
            if (!row.starts_with("Total")) {
                names += (names.empty() ? "" : " ") + row.substr(0, row.find('\t'));
            }
            at = end + 1;
        }
        EXPECT_EQ(names, c.kept) << c.arguments;
    }
    // The entry added under its exact name holds the new content; the other is untouched.
    put("t.lod", twins);
    ASSERT_EQ(run("add t.lod in/a.txt"), 0) << stderr_;
    fs::create_directories(root_ / "out2");
    ASSERT_EQ(run("extract t.lod -o out a.txt"), 0) << stderr_;
    ASSERT_EQ(run("extract t.lod -o out2 A.TXT"), 0) << stderr_;
    EXPECT_EQ(readWhole(root_ / "out" / "a.txt"), "new lower");
    EXPECT_EQ(readWhole(root_ / "out2" / "A.TXT"), "upper");
}

// An edit of an archive with damaged entries is refused, naming them, unless --damaged says to keep
// their bytes as stored or to leave them out; the good entries come through whole either way.
TEST_F(ArchiveRules, AnArchiveWithDamagedEntriesIsEditedOnlyAsTold) {
    const std::string damaged = LodWriter()
                                    .add("GOOD.TXT", "good")
                                    .addRaw("LOST.TXT", 99999, 5, 0)
                                    .addRaw("NEG.TXT", -1, 5, 0)
                                    .build();
    put("NEW.TXT", "new");
    struct Case {
        std::string arguments;
        int exitCode;
        std::string said;  // the start of stdout, or of stderr when refused
        std::string listed;
    };
    const Case cases[] = {
        {"add d.lod NEW.TXT", 1,
         "brasvel-res: d.lod: Damaged entries (LOST.TXT, NEG.TXT); --damaged keep keeps their "
         "bytes as stored, --damaged drop leaves them out; nothing was changed\n",
         ""},
        {"remove d.lod GOOD.TXT", 1, "brasvel-res: d.lod: Damaged entries (LOST.TXT, NEG.TXT)", ""},
        {"rename d.lod GOOD.TXT G.TXT", 1, "brasvel-res: d.lod: Damaged entries", ""},
        {"add d.lod NEW.TXT --damaged", 2, "brasvel-res: option --damaged needs a value", ""},
        {"add d.lod NEW.TXT --damaged all", 2, "brasvel-res: --damaged takes keep or drop", ""},
        {"add d.lod NEW.TXT --damaged drop", 0,
         "d.lod: added 1 entry, replaced 0 entries; left out 2 damaged entries\n",
         "GOOD.TXT NEW.TXT"},
        {"add d.lod NEW.TXT --damaged keep", 0,
         "d.lod: added 1 entry, replaced 0 entries; kept 2 damaged entries as stored\n",
         "GOOD.TXT LOST.TXT NEG.TXT NEW.TXT"},
        {"rename d.lod LOST.TXT L.TXT --damaged keep", 0, "d.lod: renamed LOST.TXT to L.TXT",
         "GOOD.TXT L.TXT NEG.TXT"},
    };
    for (const Case& c : cases) {
        put("d.lod", damaged);
        EXPECT_EQ(run(c.arguments), c.exitCode) << c.arguments << ": " << stderr_;
        EXPECT_TRUE((c.exitCode == 0 ? stdout_ : stderr_).starts_with(c.said))
            << c.arguments << ": " << stdout_ << stderr_;
        if (c.exitCode != 0) {
            EXPECT_EQ(readWhole(root_ / "d.lod"), damaged) << c.arguments;
            continue;
        }
        run("list d.lod");
        std::string names;
        for (std::size_t at = 0; at < stdout_.size();) {
            const std::size_t end = stdout_.find('\n', at);
            const std::string row = stdout_.substr(at, end - at);
            if (!row.starts_with("Total")) {
                names += (names.empty() ? "" : " ") + row.substr(0, row.find('\t'));
            }
            at = end + 1;
        }
        EXPECT_EQ(names, c.listed) << c.arguments;
        ASSERT_EQ(run("extract d.lod -o out GOOD.TXT NEW.TXT"),
                  c.listed.find("NEW") == std::string::npos ? 2 : 0);
    }
    EXPECT_EQ(readWhole(root_ / "out" / "GOOD.TXT"), "good");
}

TEST(StrictNumbers, AreDigitsOnlyWithinTheirRange) {
    using brasvel::cli::strictNumber;
    struct Case {
        const char* text;
        bool accepted;
        unsigned value;
    };
    const Case cases[] = {
        {"1", true, 1},         {"12", true, 12},         {"012", true, 12},
        {"0", false, 0},        {"13", false, 0},         {"-1", false, 0},
        {"-0", false, 0},       {"+1", false, 0},         {" 5", false, 0},
        {"5 ", false, 0},       {"", false, 0},           {"0x5", false, 0},
        {"5e0", false, 0},      {"4294967297", false, 0}, {"18446744073709551617", false, 0},
        {"\xd9\xa5", false, 0},  // an Arabic-Indic five
    };
    for (const Case& c : cases) {
        if (c.accepted) {
            EXPECT_EQ(strictNumber("--level", c.text, 1, 12), c.value) << c.text;
        } else {
            EXPECT_THROW(strictNumber("--level", c.text, 1, 12), brasvel::cli::UsageError)
                << c.text;
        }
    }
}

// Every numeric option of every command reads its number one way: refused loosely written,
// negative or past its range, before anything is read or written.
TEST_F(ArchiveRules, EveryNumericOptionIsReadStrictly) {
    put("a.lod", LodWriter().add("A.TXT", "a").add("B.DEF", "def").build());
    put("ONE.TXT", "one");
    put("in.bmp", "BM");
    const std::string commands[] = {
        "create new.lod ONE.TXT --threads %",  "create new.lod ONE.TXT --level %",
        "add a.lod ONE.TXT --threads %",       "add a.lod ONE.TXT --level %",
        "extract a.lod -o out --threads %",    "convert a.lod B.DEF --frame %",
        "sprite import out -o s.def --type %", "picture import in.bmp -o p.pcx --bits %",
    };
    const std::string values[] = {"-1",         "' 5'",        "'5 '", "+1",
                                  "4294967297", "-4294967295", "''",   "0x8"};
    const auto before = files();
    for (std::string command : commands) {
        const std::size_t at = command.find('%');
        for (const std::string& value : values) {
            const std::string line = command.substr(0, at) + value + command.substr(at + 1);
            EXPECT_EQ(run(line), 2) << line << ": " << stderr_;
            const std::string option =
                command.substr(command.rfind("--"), command.rfind(' ') - command.rfind("--"));
            EXPECT_TRUE(stderr_.starts_with("brasvel-res: " + option + " takes "))
                << line << ": " << stderr_;
            EXPECT_EQ(files(), before) << line;
        }
    }
}

// Names from archives, files and patterns never reach the terminal raw: their control bytes are
// written as \xNN in every message, as list writes them.
TEST_F(ArchiveRules, ControlBytesOfNamesAreEscapedInEveryMessage) {
    if (brasvel::testing::kOnWindows) {
        GTEST_SKIP() << brasvel::testing::kLinuxOnly << ": bash's $'...' and control bytes in names";
    }
    put("a.lod", LodWriter().add("A\x1b]0;x\x07.TXT", "a").add("OK.TXT", "ok").build());
    put("a.snd", SndWriter().add("HORSE", "neigh").build());
    fs::create_directories(root_ / "sprite");
    put("sprite/sprite.txt", "brasvel-sprite 1\n\x1b[2J\n");
    struct Case {
        std::string arguments;
        std::string shows;  // a piece of the message, escaped
    };
    const Case cases[] = {
        {"list a.lod", "A\\x1B]0;x\\x07.TXT"},
        {"remove a.lod $'NO\\x1B[2J.TXT'", "NO\\x1B[2J.TXT: No such entry"},
        {"rename a.lod OK.TXT $'N\\x1BEW.TXT'", "N\\x1BEW.TXT"},
        {"rename a.lod $'N\\rO.TXT' NEW.TXT", "N\\x0DO.TXT: No such entry"},
        {"extract a.lod -o out $'Z\\x1B.TXT'", "Z\\x1B.TXT: no entry of the list has this name"},
        {"info a.lod $'Q\\x1B.PCX'", "holds no entry Q\\x1B.PCX"},
        {"list $'b\\x1B.lod'", "b\\x1B.lod: "},
        {"add a.snd $'in\\x1B.txt'", "in\\x1B.txt"},
        {"sprite import sprite -o s.def", "\\x1B[2J"},
    };
    for (const Case& c : cases) {
        // Through bash, whose $'...' puts the control bytes into the arguments.
        brasvel::testing::shellExitCode("cd '" + root_.string() + "' && bash -c \"" +
                                        std::string(BRASVEL_RES) + " " + c.arguments +
                                        " > stdout 2> stderr\"");
        stdout_ = readWhole(root_ / "stdout");
        stderr_ = readWhole(root_ / "stderr");
        const std::string said = stdout_ + stderr_;
        EXPECT_NE(said.find(c.shows), std::string::npos) << c.arguments << ": " << said;
        for (const char byte : said) {
            EXPECT_TRUE(static_cast<unsigned char>(byte) >= 0x20 || byte == '\n' || byte == '\t')
                << c.arguments << ": a raw control byte " << static_cast<int>(byte);
        }
    }
}

}  // namespace
