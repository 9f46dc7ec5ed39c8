// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "base/ReadOnlyFile.h"
#include "base/ResourceError.h"
#include "tests/support/TestPlatform.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;

class ReadOnlyFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("brasvel-readonly-" + std::to_string(testing::testProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    }

    static std::string readAll(const ReadOnlyFile& file, std::uint64_t offset, std::size_t length) {
        std::string out(length, '\0');
        file.read(offset, std::as_writable_bytes(std::span(out)));
        return out;
    }

    fs::path folder;
};

ResourceError failureOpening(const std::string& path) {
    try {
        ReadOnlyFile file(path);
    } catch (const ResourceError& error) {
        return error;
    }
    ADD_FAILURE() << path << " opened";
    return ResourceError::worded("none");
}

TEST_F(ReadOnlyFileTest, whatIsNotARegularFileIsRefusedAtOnceInWords) {
    struct Case {
        std::string path;
        const char* cause;
    };
#ifdef _WIN32
    // Windows has no FIFOs, sockets in the file system nor loops of links: its device and a folder.
    fs::create_directory(folder / "folder.lod");
    const Case cases[] = {
        {"NUL", "is not a regular file"},
        {(folder / "folder.lod").string(), "is a folder"},
        {(folder / "missing.lod").string(), ""},
    };
#else
    const std::string fifo = (folder / "pipe.lod").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = (folder / "sock.lod").string();
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    fs::create_symlink("loop2.lod", folder / "loop1.lod");
    fs::create_symlink("loop1.lod", folder / "loop2.lod");
    fs::create_directory(folder / "folder.lod");
    const Case cases[] = {
        {fifo, "is not a regular file"},
        {socketPath, "is not a regular file"},
        {"/dev/null", "is not a regular file"},
        {(folder / "folder.lod").string(), "is a folder"},
        {(folder / "loop1.lod").string(), "too many levels of symbolic links"},
        {(folder / "missing.lod").string(), ""},
    };
#endif
    for (const Case& c : cases) {
        // A FIFO without a writer would block an ordinary open for ever: a hang fails the test
        // by its time limit.
        const auto started = std::chrono::steady_clock::now();
        const ResourceError error = failureOpening(c.path);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2)) << c.path;
        EXPECT_NE(error.detail().find(c.path), std::string::npos) << error.describe();
        EXPECT_NE(error.describe().find(c.cause), std::string::npos) << error.describe();
        EXPECT_EQ(error.describe().find("I/O error"), std::string::npos) << error.describe();
    }
#ifndef _WIN32
    ::close(sock);
#endif
}

TEST_F(ReadOnlyFileTest, aTruncatedOrRewrittenFileFailsTheReadsAfterTheChange) {
    const std::string bytes(100000, 'a');
    const std::string path = write("game.lod", bytes);
    const ReadOnlyFile file(path);
    EXPECT_EQ(readAll(file, 99990, 10), std::string(10, 'a'));
    fs::resize_file(path, 50000);
    for (const std::uint64_t offset : {std::uint64_t{60000}, std::uint64_t{10}}) {
        try {
            readAll(file, offset, 10);
            FAIL() << offset;
        } catch (const ResourceError& error) {
            EXPECT_EQ(error.text(), kArchiveChanged);
            EXPECT_NE(error.detail().find(path), std::string::npos) << error.detail();
        }
    }
    EXPECT_THROW(readAll(file, 99995, 10), ResourceError) << "past the end it had";

    const std::string same = write("same.lod", bytes);
    const ReadOnlyFile rewritten(same);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    {
        std::fstream out(same, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(5);
        out << "b";
    }
    try {
        readAll(rewritten, 0, 10);
        FAIL() << "a rewrite of the same size goes unseen";
    } catch (const ResourceError& error) {
        EXPECT_EQ(error.text(), kArchiveChanged);
    }
}

TEST_F(ReadOnlyFileTest, aFileRemovedOrReplacedByRenameIsStillReadAsItWasOpened) {
    const std::string path = write("game.lod", "0123456789");
    const ReadOnlyFile file(path);
    write("new.lod", "abcdefghijklmnop");
    if (testing::kOnWindows) {
        // wine moves no file over one that is open, even to allow it: the open one goes aside.
        fs::rename(path, folder / "aside.lod");
    }
    fs::rename(folder / "new.lod", path);
    EXPECT_EQ(readAll(file, 0, 10), "0123456789");
    fs::remove(path);
    EXPECT_EQ(readAll(file, 5, 5), "56789");
}

}  // namespace
}  // namespace brasvel
