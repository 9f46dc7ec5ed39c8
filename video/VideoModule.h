// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The video module, loaded on the first video decoded: `VideoClip::open` asks for it, so only a
// run that decodes a video maps FFmpeg's libraries. It is looked for as BRASVEL_VIDEO_MODULE names
// it when that is set (packagers' and tests' override, with no other place tried), else next to
// the program, else in the installation's private folder (lib/brasvel-resedit/plugins beside
// bin/). A module that is missing, fails to load or was built for another interface leaves the
// programs without video: every open says kVideoUnavailable and why.

#include <string>

#include "video/VideoDecoding.h"

namespace brasvel::video {

inline constexpr const char* kVideoModuleVariable = "BRASVEL_VIDEO_MODULE";

// The module's decoding, loaded on the first call, the same ever after (also after a failure).
// Throws ResourceError(ErrorKind::VideoUnavailable, why).
const VideoDecoding& videoDecoding();

// Whether the module has been loaded; never loads it.
bool videoModuleLoaded();

// Loads the module from `path` now, in place of the one loaded before, which stays mapped so the
// clips opened on it keep working; an empty path looks in the usual places again. For tests.
// Returns whether it loaded.
bool reloadVideoModule(const std::string& path);

}  // namespace brasvel::video
