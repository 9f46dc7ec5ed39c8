// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <set>

#include "base/ByteReader.h"
#include "base/Platform.h"
#include "base/ResourceError.h"
#include "base/Text.h"

namespace brasvel {
namespace {

TEST(ByteReader, readsLittleEndianAndRefusesToPassTheEnd) {
    const std::byte data[] = {std::byte{0x01}, std::byte{0x02}, std::byte{0x03},
                              std::byte{0x04}, std::byte{0xFF}, std::byte{0xFF}};
    ByteReader reader(data);
    EXPECT_EQ(reader.u32(), 0x04030201u);
    EXPECT_EQ(reader.remaining(), 2u);
    try {
        reader.i32();
        FAIL();
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), "Read beyond end of file");
        EXPECT_EQ(error.detail(), "needed 4 bytes at offset 4, found 2");
    }
    EXPECT_EQ(reader.u16(), 0xFFFF);
    reader.seek(1000);
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_THROW(reader.u8(), ResourceError);
    ByteReader negative(data);
    negative.seek(4);
    EXPECT_EQ(static_cast<std::int16_t>(negative.u16()), -1);
}

TEST(Text, decodesWindows1250AndEndsAtTheFirstNul) {
    EXPECT_EQ(decodeWindows1250("\xA3\xF3\x64\x9F"), "Łódź");
    EXPECT_EQ(decodeWindows1250("\x8C\x9C\xAF\xBF"), "ŚśŻż");
    EXPECT_EQ(shownText(std::string_view("Zaj\xEA\x63ie\0junk", 11)), "Zajęcie");
    EXPECT_EQ(decodeWindows1250("\x81"), "\xEF\xBF\xBD") << "an undefined byte";
}

TEST(Text, encodesBackEveryCharacterItDecodesAndNoOther) {
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string text = decodeWindows1250(one);
        if (text == "\xEF\xBF\xBD") {
            continue;  // undefined in the code page
        }
        EXPECT_EQ(encodeWindows1250(text), one) << byte;
    }
    EXPECT_EQ(encodeWindows1250("\xC5\xBB" "aba"), "\xAF" "aba");  // Żaba
    EXPECT_EQ(encodeWindows1250("\xE2\x82\xAC"), "\x80");         // €
    EXPECT_EQ(encodeWindows1250("\xE6\x97\xA5"), std::nullopt);    // 日
    EXPECT_EQ(encodeWindows1250("\xC5"), std::nullopt);              // cut short
    EXPECT_EQ(encodeWindows1250("\xC0\x80"), std::nullopt);         // overlong
}

TEST(Text, comparesNamesIgnoringTheCaseOfEveryLetterOfTheCodePage) {
    EXPECT_EQ(compareIgnoringCase("Alpha.PCX", "aLPHA.pcx"), 0);
    EXPECT_EQ(compareIgnoringCase("\xAF" "ABA", "\xBF" "aba"), 0);  // Ż, ż
    EXPECT_EQ(compareIgnoringCase("\xA3", "\xB3"), 0);              // Ł, ł
    EXPECT_NE(compareIgnoringCase("\xD7", "\xF7"), 0);              // ×, ÷: no letters
    EXPECT_LT(compareIgnoringCase("a", "B"), 0);
    EXPECT_LT(compareIgnoringCase("ab", "abc"), 0);
    EXPECT_LT(compareIgnoringCase("_", "A"), 0);  // letters fold to lower case, after '_'
}

// The user's UTF-8 text is looked for in a name's Windows-1250 bytes by the names' case rule.
TEST(Text, findsTheUsersTextInANameInAnyCaseOfItsLetters) {
    struct Case {
        std::string name;
        const char* text;
        bool holds;
    };
    const Case cases[] = {
        {"\xAF\xD3\xA3W.TXT", "łw", true},        // ŻÓŁW.TXT
        {"\xAF\xD3\xA3W.TXT", "ŻÓŁW.txt", true},
        {"\xAF\xD3\xA3W.TXT", "lw", false},       // Ł is no L
        {"\xAF\xD3\xA3W.TXT", "", true},
        {std::string("ABC\0\xA3W", 6), "łw", false},                // past the NUL is no name
        {"ABC", "abcd", false},                     // one letter more than the name
        {"A\x81" "B", "\xEF\xBF\xBD" "b", true},   // an undefined byte is shown as U+FFFD
        {"ABC", "\xC3", false},                     // not UTF-8
    };
    for (const Case& c : cases) {
        EXPECT_EQ(holdsIgnoringCase(c.name, c.text), c.holds) << c.text;
    }
}

// Names fold every letter of the code page; kinds' names, extensions and the user's UTF-8 text
// fold ASCII letters alone, whatever the locale, leaving every other byte as it is.
TEST(Text, foldsNamesByTheCodePageAndOtherTextByAsciiLettersAlone) {
    EXPECT_EQ(foldedText("A\xAF" "BA.Txt"), "a\xBF" "ba.txt");  // Ż to ż
    EXPECT_EQ(foldedText("\xD7_1"), "\xD7_1");                  // ×: no letter
    EXPECT_EQ(asciiLowerText("LoD.\xAF\xC5\xBB"), "lod.\xAF\xC5\xBB");
    EXPECT_EQ(asciiUpperText("snd.\xBF\xC5\xBC"), "SND.\xBF\xC5\xBC");
    EXPECT_EQ(compareIgnoringAsciiCase("Alpha.PCX", "aLPHA.pcx"), 0);
    EXPECT_NE(compareIgnoringAsciiCase("\xAF" "ABA", "\xBF" "aba"), 0);
    EXPECT_LT(compareIgnoringAsciiCase("a", "B"), 0);
    EXPECT_LT(compareIgnoringAsciiCase("ab", "abc"), 0);
    EXPECT_LT(compareIgnoringAsciiCase("_", "A"), 0);  // letters fold to lower case, after '_'
    EXPECT_TRUE(equalIgnoringAsciiCase("vid", "VID"));
    EXPECT_FALSE(equalIgnoringAsciiCase("vid", "vi"));
}

TEST(FileErrors, speakTheProgramsTexts) {
    EXPECT_EQ(fileFailureText(FileFailure::NotFound), "File not found");
    EXPECT_EQ(fileFailureText(FileFailure::AccessDenied), "File access denied");
    EXPECT_EQ(fileFailureText(FileFailure::ReadBeyondEnd), "Read beyond end of file");
    EXPECT_EQ(fileFailureText(FileFailure::DiskFull), "Disk full");
#ifndef _WIN32  // Windows' C runtime has no words for ELOOP: it meets no loops of links
    EXPECT_EQ(fileFailureText(FileFailure::Other, ELOOP), "Too many levels of symbolic links");
#endif
    EXPECT_EQ(fileError(EISDIR, "/x").describe(), "File access denied (/x: is a folder)");
    EXPECT_EQ(fileError(ENOSPC, "/x").text(), "Disk full");
    EXPECT_EQ(fileError(EROFS, "/x").text(), "File access denied");
    EXPECT_EQ(fileError(ENOENT, "/x").describe(), "File not found (/x)");
}

// A failed file operation is told by its kind: the text, the kind and whether it is a file
// failure agree, the system's own words included.
TEST(FileErrors, carryTheKindOfTheirText) {
    struct Case {
        int errnoValue;
        ErrorKind kind;
    };
    const Case cases[] = {
        {ENOENT, ErrorKind::FileNotFound},     {ENOTDIR, ErrorKind::FileNotFound},
        {EINVAL, ErrorKind::InvalidFileName},  {EMFILE, ErrorKind::TooManyOpenFiles},
        {EACCES, ErrorKind::FileAccessDenied}, {EEXIST, ErrorKind::FileAccessDenied},
        {ENOSPC, ErrorKind::DiskFull},         {EIO, ErrorKind::FileFailure},
    };
    for (const Case& c : cases) {
        const ResourceError error = fileError(c.errnoValue, "/x");
        EXPECT_EQ(error.kind(), c.kind) << c.errnoValue;
        EXPECT_TRUE(error.isFileFailure()) << c.errnoValue;
        EXPECT_EQ(error.scope(), ErrorScope::Entry) << c.errnoValue;
        if (hasFixedText(c.kind)) {
            EXPECT_EQ(error.text(), errorKindText(c.kind));
        }
    }
    EXPECT_EQ(fileError(EIO, "/x").text(), fileFailureText(FileFailure::Other, EIO));
    EXPECT_NE(fileError(EIO, "/x").text(), errorKindText(ErrorKind::FileFailure));
}

TEST(ResourceErrors, takeTheirTextAndScopeFromTheirKind) {
    EXPECT_EQ(readBeyondEnd(10, 4, 12).kind(), ErrorKind::ReadBeyondEnd);
    EXPECT_EQ(readBeyondEnd(10, 4, 12).describe(),
              "Read beyond end of file (needed 4 bytes at offset 10, found 2)");
    EXPECT_FALSE(readBeyondEnd(10, 4, 12).isFileFailure());  // the content is at fault
    EXPECT_EQ(damaged("x").text(), "Damaged file");
    EXPECT_EQ(archiveChanged("a.lod").text(), "The archive changed while it was read");
    EXPECT_EQ(archiveChanged("a.lod").scope(), ErrorScope::Task);
    EXPECT_EQ(ResourceError(ErrorKind::DamagedEntry).scope(), ErrorScope::Entry);
    EXPECT_EQ(ResourceError(ErrorKind::DamagedEntry).withScope(ErrorScope::Task).scope(),
              ErrorScope::Task);
    // Every kind raised without words of its own has a text, and no two share one: the command
    // line's reader tells them apart as the program does.
    std::set<std::string> texts;
    for (const ErrorKind kind : kErrorKinds) {
        const std::string text = ResourceError(kind).text();
        EXPECT_FALSE(text.empty());
        EXPECT_TRUE(texts.insert(text).second) << text;
    }
    const ResourceError own = ResourceError::withText(ErrorKind::Unexpected, "bad cast", "why");
    EXPECT_EQ(own.describe(), "bad cast (why)");
    EXPECT_STREQ(own.what(), "bad cast");
}

}  // namespace
}  // namespace brasvel

#ifndef _WIN32
// A process that has ended runs no more, even before its parent collects it; this one runs.
TEST(Platform, AProcessThatEndedRunsNoMoreThoughNotYetCollected) {
    EXPECT_TRUE(brasvel::platform::processRuns(brasvel::platform::currentProcess()));
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    siginfo_t info{};
    // Waits for its end without collecting it: it stays a zombie until waitpid below.
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child), &info, WEXITED | WNOWAIT), 0);
    EXPECT_FALSE(brasvel::platform::processRuns(child));
    ::waitpid(child, nullptr, 0);
    EXPECT_FALSE(brasvel::platform::processRuns(child));
}
#endif
