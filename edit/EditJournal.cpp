// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "edit/EditJournal.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <string_view>

#include "archive/EntryNames.h"
#include "base/Platform.h"
#include "base/ResourceError.h"
#include "base/Utf8Path.h"

namespace brasvel {
namespace {

constexpr std::string_view kMagic = "BRASVEL-JOURNAL\n";
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kLongestText = 1U << 16;
constexpr std::uint32_t kMostRows = 1U << 20;

std::uint64_t fnv(Bytes bytes, std::uint64_t hash = 0xcbf29ce484222325ULL) {
    for (const std::byte b : bytes) {
        hash = (hash ^ static_cast<std::uint8_t>(b)) * 0x100000001b3ULL;
    }
    return hash;
}

Bytes bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::byte*>(text.data()), text.size()};
}

void put(std::vector<std::byte>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::byte>((value >> (8 * i)) & 0xFF));
    }
}

void putText(std::vector<std::byte>& out, std::string_view text, int lengthBytes) {
    put(out, text.size(), lengthBytes);
    const Bytes bytes = bytesOf(text);
    out.insert(out.end(), bytes.begin(), bytes.end());
}

[[noreturn]] void damagedJournal(const std::string& why) {
    throw ResourceError(ErrorKind::DamagedFile, "edit journal: " + why);
}

std::uint64_t u64(ByteReader& reader) {
    const std::uint64_t low = reader.u32();
    return low | static_cast<std::uint64_t>(reader.u32()) << 32;
}

std::string text(ByteReader& reader, std::uint64_t length, const char* what) {
    if (length > kLongestText || !reader.canRead(length)) {
        damagedJournal(std::string(what) + " of " + std::to_string(length) + " bytes");
    }
    const Bytes bytes = reader.bytes(length);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

ArchiveLook lookOf(const std::string& path, const Archive& archive) {
    namespace fs = std::filesystem;
    ArchiveLook look;
    std::error_code error;
    const fs::path file = platform::fileSystemPath(path);
    look.size = fs::file_size(file, error);
    look.modified = static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(
            fs::last_write_time(file, error).time_since_epoch())
            .count());
    std::uint64_t hash = fnv(bytesOf(archive.format().name));
    for (const Entry& entry : archive.entries()) {
        hash = fnv(bytesOf(entry.nameField), hash);
        std::vector<std::byte> numbers;
        for (const std::int32_t value : {entry.offset, entry.size, entry.packedSize, entry.type}) {
            put(numbers, static_cast<std::uint32_t>(value), 4);
        }
        hash = fnv(numbers, hash);
    }
    look.directoryHash = hash;
    return look;
}

std::vector<JournalRow> journalRows(const ArchiveEdit& edit) {
    std::vector<JournalRow> rows;
    for (std::size_t i = 0; i < edit.entries().size(); ++i) {
        JournalRow& row = rows.emplace_back();
        row.name = editName(edit.entries()[i]);
        if (const std::optional<std::size_t> original = edit.originalIndex(i)) {
            row.original = static_cast<std::uint32_t>(*original);
        } else {
            row.content = edit.content(i);
        }
    }
    return rows;
}

std::vector<std::byte> writeJournal(const EditJournal& journal) {
    std::vector<std::byte> out;
    const Bytes magic = bytesOf(kMagic);
    out.insert(out.end(), magic.begin(), magic.end());
    put(out, kVersion, 4);
    putText(out, journal.archivePath, 4);
    putText(out, journal.kind, 4);
    put(out, journal.process, 8);
    put(out, journal.look.size, 8);
    put(out, static_cast<std::uint64_t>(journal.look.modified), 8);
    put(out, journal.look.directoryHash, 8);
    put(out, journal.rows.size(), 4);
    for (const JournalRow& row : journal.rows) {
        put(out, row.original ? 0 : 1, 1);
        putText(out, row.name, 2);
        if (row.original) {
            put(out, *row.original, 4);
        } else {
            put(out, row.content.size(), 8);
            out.insert(out.end(), row.content.begin(), row.content.end());
        }
    }
    put(out, fnv(out), 8);
    return out;
}

EditJournal readJournal(Bytes file) {
    if (file.size() < kMagic.size() + 8 ||
        !std::equal(kMagic.begin(), kMagic.end(), reinterpret_cast<const char*>(file.data()))) {
        damagedJournal("not a journal");
    }
    const Bytes body = file.first(file.size() - 8);
    ByteReader tail(file, file.size() - 8);
    if (u64(tail) != fnv(body)) {
        damagedJournal("checksum does not match (cut short or changed)");
    }
    // From here the lengths are the writer's, but still checked: a journal is hostile input.
    ByteReader reader(body, kMagic.size());
    try {
        EditJournal journal;
        if (const std::uint32_t version = reader.u32(); version != kVersion) {
            damagedJournal("version " + std::to_string(version));
        }
        journal.archivePath = text(reader, reader.u32(), "a path");
        journal.kind = text(reader, reader.u32(), "a kind");
        journal.process = u64(reader);
        journal.look.size = u64(reader);
        journal.look.modified = static_cast<std::int64_t>(u64(reader));
        journal.look.directoryHash = u64(reader);
        const std::uint32_t rows = reader.u32();
        if (rows > kMostRows) {
            damagedJournal(std::to_string(rows) + " rows");
        }
        for (std::uint32_t r = 0; r < rows; ++r) {
            JournalRow row;
            const std::uint8_t tag = reader.u8();
            if (tag > 1) {
                damagedJournal("row " + std::to_string(r) + " of kind " + std::to_string(tag));
            }
            row.name = text(reader, reader.u16(), "a name");
            if (tag == 0) {
                row.original = reader.u32();
            } else {
                const std::uint64_t length = u64(reader);
                if (!reader.canRead(length)) {
                    damagedJournal("row " + std::to_string(r) + " holds " + std::to_string(length) +
                            " bytes, " + std::to_string(reader.remaining()) + " are left");
                }
                const Bytes content = reader.bytes(length);
                row.content.assign(content.begin(), content.end());
            }
            journal.rows.push_back(std::move(row));
        }
        if (reader.remaining() != 0) {
            damagedJournal(std::to_string(reader.remaining()) + " bytes after the last row");
        }
        return journal;
    } catch (const ResourceError& error) {
        if (error.kind() == ErrorKind::DamagedFile) {
            throw;
        }
        damagedJournal("it ends early");
    }
}

void applyJournal(const std::vector<JournalRow>& rows, ArchiveEdit& edit) {
    std::set<std::size_t> kept;
    const std::size_t originals = edit.entries().size();
    for (const JournalRow& row : rows) {
        if (row.original) {
            if (*row.original >= originals || !kept.insert(*row.original).second) {
                damagedJournal("entry " + std::to_string(*row.original) + " of " +
                        std::to_string(originals));
            }
        }
    }
    // An entry whose content was replaced keeps its place: its new content is put under its
    // name below rather than the entry removed and added again at the end.
    std::set<std::string> replaced;
    for (const JournalRow& row : rows) {
        if (!row.original) {
            replaced.insert(row.name);
        }
    }
    for (std::size_t i = edit.entries().size(); i-- > 0;) {
        const std::optional<std::size_t> original = edit.originalIndex(i);
        if ((!original || kept.count(*original) == 0) &&
            replaced.count(editName(edit.entries()[i])) == 0) {
            edit.remove(i);
        }
    }
    for (const JournalRow& row : rows) {
        if (!row.original) {
            continue;
        }
        for (std::size_t i = 0; i < edit.entries().size(); ++i) {
            if (edit.originalIndex(i) == row.original && editName(edit.entries()[i]) != row.name) {
                edit.rename(i, row.name);
            }
        }
    }
    for (const JournalRow& row : rows) {
        if (!row.original) {
            edit.put(row.name, row.content);
        }
    }
}

void writeSyncedFile(const std::string& path, Bytes content) {
    const std::string temporary = path + ".new";
    platform::removeFile(temporary);
    const int fd = platform::createExclusive(temporary);
    if (fd < 0) {
        throw ResourceError(ErrorKind::FileFailure, temporary + ": cannot be created");
    }
    std::size_t done = 0;
    bool failed = false;
    while (done < content.size() && !failed) {
        const std::ptrdiff_t wrote =
            platform::writeSome(fd, content.data() + done, content.size() - done);
        failed = wrote <= 0;
        done += failed ? 0 : static_cast<std::size_t>(wrote);
    }
    failed = failed || platform::syncFile(fd) != 0;
    platform::closeFile(fd);
    if (failed || platform::replaceFile(temporary, path) != 0) {
        platform::removeFile(temporary);
        throw ResourceError(ErrorKind::FileFailure, path + ": cannot be written");
    }
}

}  // namespace brasvel
