// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/ArchiveSearch.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "archive/FormatCheck.h"
#include "base/Platform.h"
#include "base/Text.h"

namespace brasvel {
namespace {

std::string_view asText(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string insideFolder(const std::string& folder, const std::string& name) {
    const bool separated = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
    return separated ? folder + name : folder + "/" + name;
}

// Visits the archive at `path`. `given`: the user named the file itself, so a file that is no
// archive is trouble rather than one of a folder's other files.
void visitFile(const std::string& path, bool given,
               const std::function<void(const Archive&)>& visit, const TroubleSink& trouble) {
    std::shared_ptr<const ReadOnlyFile> file;
    const ArchiveFormat* format = nullptr;
    try {
        file = std::make_shared<const ReadOnlyFile>(path);
        format = formatOfFile(path, *file, BytesFit::Whole);
    } catch (const ResourceError& error) {
        trouble({path, {}, error.describe(), error});
        return;
    }
    if (format == nullptr) {
        if (given) {
            trouble({path, {}, "not an archive of a known kind (lod, snd or vid)"});
        }
        return;
    }
    std::optional<Archive> archive;
    try {
        archive.emplace(Archive::open(file, path, *format));
    } catch (const ResourceError& error) {
        trouble({path, {}, error.describe(), error});
        return;
    }
    if (const auto& error = archive->directoryError()) {
        trouble({path, {}, error->describe(), *error});
    }
    visit(*archive);
}

void visitFolder(const std::string& folder, const std::function<void(const Archive&)>& visit,
                 const TroubleSink& trouble) {
    std::vector<std::string> names = platform::folderNames(folder);
    if (names.empty() && !platform::readable(folder)) {
        const ResourceError error = fileError(errno, folder);
        trouble({folder, {}, error.describe(), error});
        return;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = insideFolder(folder, name);
        platform::FileStatus status;
        if (platform::statusOfTarget(path, status) != 0) {
            const ResourceError error = fileError(errno, path);
            trouble({path, {}, error.describe(), error});
        } else if (status.kind == platform::FileStatus::Kind::Regular) {
            visitFile(path, false, visit, trouble);
        }
    }
}

}  // namespace

Archive openArchiveOfAnyKind(const std::string& path) {
    auto file = std::make_shared<const ReadOnlyFile>(path);
    const ArchiveFormat* format = formatOfFile(path, *file, BytesFit::Whole);
    if (format == nullptr) {
        throw ResourceError(ErrorKind::NotAnArchive,
                            path + " is no archive of a known kind (lod, snd or vid)");
    }
    return Archive::open(std::move(file), path, *format);
}

void forEachArchive(const std::vector<std::string>& paths,
                    const std::function<void(const Archive&)>& visit, const TroubleSink& trouble) {
    for (const std::string& path : paths) {
        platform::FileStatus status;
        if (platform::statusOfTarget(path, status) != 0) {
            const ResourceError error = fileError(errno, path);
            trouble({path, {}, error.describe(), error});
        } else if (status.kind == platform::FileStatus::Kind::Folder) {
            visitFolder(path, visit, trouble);
        } else {
            visitFile(path, true, visit, trouble);
        }
    }
}

std::vector<std::size_t> findEntries(const Archive& archive,
                                     const std::function<bool(std::string_view)>& matches) {
    std::vector<std::size_t> found;
    const std::vector<Entry>& entries = archive.entries();
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (matches(foldedText(entries[index].fileName))) {
            found.push_back(index);
        }
    }
    return found;
}

bool searchedAsText(const Entry& entry) {
    return extIs(foldedText(entry.ext), "txt");
}

ContentSearch::ContentSearch(std::string bytes, std::string folded)
    : bytes_(std::move(bytes)), folded_(std::move(folded)) {}

std::optional<ContentSearch> ContentSearch::forText(std::string_view text) {
    std::optional<std::string> bytes = encodeWindows1250(text);
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    std::string folded = foldedText(*bytes);
    return ContentSearch(std::move(*bytes), std::move(folded));
}

void ContentSearch::search(const Archive& archive, const Entry& entry, ContentBuffers& buffers,
                           const MatchSink& found) const {
    const Stream stream = [&](const ContentSink& sink) {
        streamEntryContent(archive, entry, buffers, sink);
    };
    if (searchedAsText(entry)) {
        searchLines(stream, found);
    } else {
        searchBytes(stream, found);
    }
}

void ContentSearch::search(const ComparedEntries& side, std::size_t index, ContentBuffers& buffers,
                           const MatchSink& found) const {
    const Entry& entry = side.entries().at(index);
    Entry row;
    const Archive* archive = side.storedIn(index, row);
    const Stream stream = [&](const ContentSink& sink) {
        if (archive != nullptr) {
            streamEntryContent(*archive, row, buffers, sink);
        } else {
            const std::vector<std::byte> content = side.content(index);
            sink(content);
        }
    };
    if (searchedAsText(entry)) {
        searchLines(stream, found);
    } else {
        searchBytes(stream, found);
    }
}

void ContentSearch::search(const Entry& entry, Bytes content, const MatchSink& found) const {
    const Stream stream = [content](const ContentSink& sink) { sink(content); };
    if (searchedAsText(entry)) {
        searchLines(stream, found);
    } else {
        searchBytes(stream, found);
    }
}

void ContentSearch::searchLines(const Stream& stream, const MatchSink& found) const {
    // A text is matched line by line: a text holding a line end never matches.
    const bool matchable = folded_.find('\n') == std::string::npos;
    std::size_t line = 1;  // the number of the line that the next text scanned starts with
    // Scans the whole lines of `text` (all of it when `last`); returns where the rest begins.
    const auto scan = [&](std::string_view text, bool last) {
        const std::size_t lastBreak = text.rfind('\n');
        const std::size_t end =
            last ? text.size() : (lastBreak == std::string_view::npos ? 0 : lastBreak + 1);
        const std::string folded = matchable ? foldedText(text.substr(0, end)) : std::string();
        std::size_t counted = 0;
        for (std::size_t at = folded.find(folded_); matchable && at != std::string::npos;) {
            line += static_cast<std::size_t>(
                std::count(text.begin() + counted, text.begin() + at, '\n'));
            counted = at;
            const std::size_t before = at == 0 ? std::string_view::npos : text.rfind('\n', at - 1);
            const std::size_t begin = before == std::string_view::npos ? 0 : before + 1;
            const std::size_t lineEnd = std::min(text.find('\n', at), end);
            std::string_view shown = text.substr(begin, lineEnd - begin);
            if (!shown.empty() && shown.back() == '\r') {
                shown.remove_suffix(1);
            }
            found({line, decodeWindows1250(shown)});
            if (lineEnd >= end) {
                break;
            }
            at = folded.find(folded_, lineEnd + 1);
        }
        line +=
            static_cast<std::size_t>(std::count(text.begin() + counted, text.begin() + end, '\n'));
        return end;
    };
    std::string carried;  // a line that the pieces so far left open
    stream([&](Bytes piece) {
        if (carried.empty()) {
            const std::string_view text = asText(piece);
            carried = text.substr(scan(text, false));
        } else {
            carried.append(asText(piece));
            carried.erase(0, scan(carried, false));
        }
    });
    if (!carried.empty()) {
        scan(carried, true);
    }
}

void ContentSearch::searchBytes(const Stream& stream, const MatchSink& found) const {
    bool matched = false;
    std::string tail;  // the end of the pieces so far, where a match may begin
    stream([&](Bytes piece) {
        if (matched) {
            return;
        }
        const std::string_view text = asText(piece);
        const std::size_t overlap = bytes_.size() - 1;
        std::string across = tail;
        across.append(text.substr(0, std::min(text.size(), overlap)));
        matched =
            text.find(bytes_) != std::string_view::npos || across.find(bytes_) != std::string::npos;
        if (text.size() >= overlap) {
            tail = text.substr(text.size() - overlap);
        } else {
            tail.append(text);
            tail.erase(0, tail.size() - std::min(tail.size(), overlap));
        }
    });
    if (matched) {
        found({0, {}});
    }
}

}  // namespace brasvel
