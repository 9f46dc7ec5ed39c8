// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The picture and sprite commands that write PNG and read pictures back: the output choice of
// convert (format from -o's suffix or --format, --selection, --keep-palette), `sprite export`,
// `sprite import` and `picture import`.

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "imaging/PictureFormats.h"

namespace brasvel::cli {

struct OutputChoice {
    PictureFormat format = PictureFormat::Bmp;
    EncodeOptions options;
};

// The format follows -o's suffix when it names one, else --format, else BMP. Throws UsageError
// for an unknown --format, a --format that contradicts the suffix, or a sprite option given
// for a picture.
OutputChoice chooseOutput(const Arguments& arguments, bool sprite);

// sprite export ARCHIVE SPRITE.def -o DIR [--kind K] [--selection] [--keep-palette] [--force]
// sprite import DIR -o NAME.def [--type 0|1|2|3] [--force]
int spriteCommand(const std::vector<std::string>& args);
// picture import IN.png|IN.bmp -o NAME.pcx [--bits 8|24] [--force]
int pictureCommand(const std::vector<std::string>& args);

}  // namespace brasvel::cli
