// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "video/VideoModule.h"

#include "base/ResourceError.h"

// Where the decoding is linked into the program (the Windows build: one .exe, nothing beside it),
// there is no module to look for: the decoding is always there.
extern "C" const brasvel::video::VideoDecoding* brasvel_video_decoding(int interface);

namespace brasvel::video {

const VideoDecoding& videoDecoding() {
    const VideoDecoding* decoding = brasvel_video_decoding(kDecodingInterface);
    if (decoding == nullptr) {
        throw ResourceError(ErrorKind::VideoUnavailable, "the linked-in decoding is of another version");
    }
    return *decoding;
}

bool videoModuleLoaded() {
    return true;
}

bool reloadVideoModule(const std::string& path) {
    return path.empty();
}

}  // namespace brasvel::video
