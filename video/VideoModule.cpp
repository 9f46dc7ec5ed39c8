// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "video/VideoModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "base/ResourceError.h"

// Defined where a program links the decoding in (the fuzz targets); null elsewhere.
extern "C" const brasvel::video::VideoDecoding* brasvel_video_decoding(int interface)
    __attribute__((weak));

namespace brasvel::video {
namespace {

struct LoadedModule {
    const VideoDecoding* decoding = nullptr;
    std::string problem;  // why there is none
};

std::filesystem::path programFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path();
}

std::vector<std::string> modulePlaces() {
    const char* named = std::getenv(kVideoModuleVariable);
    if (named != nullptr && *named != '\0') {
        return {named};
    }
    const std::filesystem::path folder = programFolder();
    if (folder.empty()) {
        return {};
    }
    return {
        (folder / kVideoModuleFile).string(),
        (folder / BRASVEL_VIDEO_MODULE_FROM_BIN / kVideoModuleFile).lexically_normal().string()};
}

// RTLD_LOCAL: FFmpeg's symbols stay the module's own. The handle is never closed: clips and the
// decoding live in it until the process ends.
LoadedModule loadFrom(const std::string& path) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = ::dlerror();
        return {nullptr, why != nullptr ? why : path + ": cannot be loaded"};
    }
    const auto entry = reinterpret_cast<DecodingEntryPoint>(::dlsym(handle, kDecodingEntryPoint));
    const VideoDecoding* decoding = entry != nullptr ? entry(kDecodingInterface) : nullptr;
    if (decoding == nullptr) {
        return {nullptr, path + ": not a video module of this version"};
    }
    return {decoding, {}};
}

// The first place that holds a file decides: a module there that fails to load is not passed
// over for an older one further on.
LoadedModule loadFromUsualPlaces() {
    if (brasvel_video_decoding != nullptr) {
        return {brasvel_video_decoding(kDecodingInterface),
                "the linked-in decoding is of another version"};
    }
    std::string looked;
    for (const std::string& place : modulePlaces()) {
        if (std::filesystem::exists(place)) {
            return loadFrom(place);
        }
        looked += (looked.empty() ? "" : ", ") + place;
    }
    return {nullptr, "no such file: " + (looked.empty() ? std::string(kVideoModuleFile) : looked)};
}

std::mutex moduleLock;
bool tried = false;
LoadedModule current;

}  // namespace

const VideoDecoding& videoDecoding() {
    const std::lock_guard lock(moduleLock);
    if (!tried) {
        current = loadFromUsualPlaces();
        tried = true;
    }
    if (current.decoding == nullptr) {
        throw ResourceError(ErrorKind::VideoUnavailable, current.problem);
    }
    return *current.decoding;
}

bool videoModuleLoaded() {
    const std::lock_guard lock(moduleLock);
    return current.decoding != nullptr;
}

bool reloadVideoModule(const std::string& path) {
    const std::lock_guard lock(moduleLock);
    current = path.empty() ? loadFromUsualPlaces() : loadFrom(path);
    tried = true;
    return current.decoding != nullptr;
}

}  // namespace brasvel::video
