// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "extract/TemporaryNames.h"

#include <cctype>
#include <cstdint>
#include <functional>
#include <random>
#include <thread>

#include "base/Platform.h"

namespace brasvel {
namespace {

constexpr const char* kTemporarySuffix = ".extracting";
constexpr const char* kSavingSuffix = ".saving";

std::string randomTag() {
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 generator([] {
        std::random_device device;
        return static_cast<std::mt19937::result_type>(
            device() ^ std::hash<std::thread::id>{}(std::this_thread::get_id()));
    }());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string tag(6, '\0');
    for (char& c : tag) {
        c = kLetters[pick(generator)];
    }
    return tag;
}

std::string savingPrefix(std::string_view name) {
    return "." + std::string(name) + ".";
}

}  // namespace

std::string temporaryName(std::string_view name) {
    const std::string tag =
        std::to_string(platform::currentProcess()) + "-" + randomTag() + kTemporarySuffix;
    std::string temporary = "." + std::string(name) + "." + tag;
    if (temporary.size() > 255) {
        temporary = ".brasvel." + tag;
    }
    return temporary;
}

long temporaryOwner(std::string_view name) {
    const std::string_view suffix = kTemporarySuffix;
    constexpr std::size_t kTagLength = 6;
    if (name.size() < 1 + suffix.size() + kTagLength + 3 || name.front() != '.' ||
        !name.ends_with(suffix)) {
        return 0;
    }
    name.remove_suffix(suffix.size());
    const std::string_view tag = name.substr(name.size() - kTagLength);
    for (char c : tag) {
        if (!std::isalnum(static_cast<unsigned char>(c))) {
            return 0;
        }
    }
    name.remove_suffix(kTagLength);
    if (!name.ends_with('-')) {
        return 0;
    }
    name.remove_suffix(1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == name.size() ||
        name.size() - dot > 11) {
        return 0;
    }
    long long pid = 0;
    for (char c : name.substr(dot + 1)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        pid = pid * 10 + (c - '0');
    }
    return pid > 0 && pid <= INT32_MAX ? static_cast<long>(pid) : 0;
}

std::string savingTemporaryName(std::string_view name) {
    return savingPrefix(name) + std::to_string(platform::currentProcess()) + "." + randomTag() +
           kSavingSuffix;
}

long savingTemporaryWriter(std::string_view entry, std::string_view name) {
    const std::string prefix = savingPrefix(name);
    const std::string_view suffix = kSavingSuffix;
    if (entry.size() <= prefix.size() + suffix.size() + 8 || !entry.starts_with(prefix) ||
        !entry.ends_with(suffix)) {
        return 0;
    }
    std::string_view middle = entry.substr(prefix.size());
    middle.remove_suffix(suffix.size());  // "PID.XXXXXX"
    const std::size_t dot = middle.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 9 || middle.size() - dot - 1 != 6) {
        return 0;
    }
    long pid = 0;
    for (char c : middle.substr(0, dot)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

}  // namespace brasvel
