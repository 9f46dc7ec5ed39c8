// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "archive/EntryNames.h"

#include <vector>

#include "base/ResourceError.h"
#include "base/Text.h"

namespace brasvel {
namespace {

std::string quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

// A name that several entries bear only in other cases: no one of them is meant more than another.
ResourceError ambiguous(std::string_view name, const std::vector<std::string_view>& alike) {
    std::string names;
    for (std::size_t k = 0; k < alike.size(); ++k) {
        names += (k == 0                  ? ""
                  : k + 1 == alike.size() ? " and "
                                          : ", ") +
                 quoted(shownText(alike[k]));
    }
    return ResourceError(ErrorKind::AmbiguousName,
                         quoted(name) + " names " + names + ", which differ only in case")
        .withEntry(std::string(name));
}

}  // namespace

std::string editName(const Entry& entry) { return decodeWindows1250(storedName(entry)); }

std::optional<std::string> entryNameForFile(const ArchiveFormat& format,
                                            std::string_view fileName) {
    const std::string_view suffix = format.writing.fileSuffix;
    if (suffix.empty()) {
        return std::string(fileName);
    }
    if (fileName.size() <= suffix.size() ||
        !equalIgnoringCase(fileName.substr(fileName.size() - suffix.size()), suffix)) {
        return std::nullopt;
    }
    return std::string(fileName.substr(0, fileName.size() - suffix.size()));
}

std::optional<std::size_t> findEntry(std::span<const Entry> entries, std::string_view name) {
    const std::optional<std::string> bytes = encodeWindows1250(name);
    if (!bytes) {
        return std::nullopt;
    }
    std::vector<std::size_t> alike;
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (storedName(entries[k]) == *bytes) {
            return k;  // an exact match wins over any other case
        }
        if (equalIgnoringCase(storedName(entries[k]), *bytes)) {
            alike.push_back(k);
        }
    }
    if (alike.size() > 1) {
        std::vector<std::string_view> names;
        for (const std::size_t k : alike) {
            names.push_back(storedName(entries[k]));
        }
        throw ambiguous(name, names);
    }
    return alike.empty() ? std::nullopt : std::optional(alike.front());
}

std::optional<std::size_t> findEntryOrFile(const ArchiveFormat& format,
                                           std::span<const Entry> entries, std::string_view name) {
    if (auto index = findEntry(entries, name)) {
        return index;
    }
    if (format.writing.fileSuffix.empty()) {
        return std::nullopt;
    }
    const std::optional<std::string> withoutSuffix = entryNameForFile(format, name);
    return withoutSuffix ? findEntry(entries, *withoutSuffix) : std::nullopt;
}

std::optional<std::size_t> findEntryByCaption(std::span<const Entry> entries,
                                              std::string_view name) {
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (decodeWindows1250(entries[index].caption) == name) {
            return index;
        }
    }
    return std::nullopt;
}

}  // namespace brasvel
