// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// list: one row per entry that --type keeps, every entry of the archive when it is not given.

#include <iostream>
#include <optional>
#include <span>
#include <sstream>

#include "base/Text.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/Json.h"

namespace brasvel::cli {
namespace {

// Rows gathered in a buffer and written to stdout a few thousand at a time: fast for a game
// archive, and bounded in memory for an archive of millions of entries.
class RowOutput {
public:
    std::ostream& text() { return buffer_; }
    void rowDone() {
        if (++rows_ % kRowsPerWrite == 0) {
            flush();
        }
    }
    void flush() {
        std::cout << buffer_.str();
        buffer_.str({});
    }

private:
    static constexpr std::size_t kRowsPerWrite = 4096;
    std::ostringstream buffer_;
    std::size_t rows_ = 0;
};

// The raw name field, NUL bytes and what follows them included, as lower-case hex.
std::string hexOf(std::string_view bytes) {
    static const char* const hex = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += hex[byte >> 4];
        out += hex[byte & 0xF];
    }
    return out;
}

void printText(std::span<const Entry> entries, const TypeView& view, RowOutput& output) {
    std::ostream& out = output.text();
    for (const std::size_t index : view.entries) {
        const Entry& entry = entries[index];
        const std::int32_t stored = entry.packedSize != 0 ? entry.packedSize : entry.size;
        // A name's control bytes are shown as \xNN: a name can never steer the terminal or forge
        // a row.
        out << escapedControls(decodeWindows1250(captionUnder(entry, view.item))) << '\t'
            << entry.size << '\t' << stored << '\t' << entry.offset << '\n';
        output.rowDone();
    }
    out << "Total Files: " << entries.size() << '\n';
}

void printJson(const ArchiveFormat& format, std::span<const Entry> entries, const TypeView& view,
               RowOutput& output) {
    std::ostream& out = output.text();
    const bool hasTypeWord = &format == &kLodFormat;
    out << "{\"kind\":" << jsonString(format.name) << ",\"total\":" << entries.size()
        << ",\"rows\":[";
    for (std::size_t row = 0; row < view.entries.size(); ++row) {
        const std::size_t index = view.entries[row];
        const Entry& entry = entries[index];
        out << (row == 0 ? "" : ",") << "{\"row\":" << row << ",\"entry\":" << index
            << ",\"caption\":" << jsonString(decodeWindows1250(captionUnder(entry, view.item)))
            << ",\"name\":" << jsonString(shownText(entry.name))
            << ",\"ext\":" << jsonString(shownText(entry.ext)) << ",\"offset\":" << entry.offset
            << ",\"size\":" << entry.size << ",\"packed_size\":" << entry.packedSize
            << ",\"image\":" << view.images[row]
            << ",\"name_field\":" << jsonString(hexOf(entry.nameField));
        if (hasTypeWord) {
            out << ",\"type\":" << entry.type;
        }
        out << '}';
        output.rowDone();
    }
    out << "]}\n";
}

}  // namespace

int listCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind", "--type"}, {"--json"});
    if (arguments.positional().size() != 1) {
        throw UsageError("list takes one archive");
    }
    const std::string& path = arguments.positional()[0];
    const ArchiveFormat& format = chooseFormat(path, arguments.value("--kind"));
    const std::optional<int> typeItem = chooseTypeItem(arguments.value("--type"));

    // An archive that cannot be opened lists no entry; a directory that ends early lists the
    // entries read so far. Either way the error follows on stderr.
    std::optional<Archive> archive;
    std::optional<ResourceError> error;
    try {
        archive.emplace(Archive::open(path, format));
        error = archive->directoryError();
    } catch (const ResourceError& openError) {
        error = openError;
    }
    const std::span<const Entry> entries =
        archive ? std::span<const Entry>(archive->entries()) : std::span<const Entry>();
    const TypeView view = listedEntries(format, entries, typeItem);
    // An archive that could not be opened has no list at all, not an empty one.
    if (archive) {
        RowOutput output;
        if (arguments.has("--json")) {
            printJson(format, entries, view, output);
        } else {
            printText(entries, view, output);
        }
        output.flush();
    }
    if (error) {
        std::cout.flush();
        std::cerr << "brasvel-res: " << escapedControls(path) << ": "
                  << escapedControls(error->describe()) << '\n';
        return kExitUnusable;
    }
    return kExitDone;
}

}  // namespace brasvel::cli
