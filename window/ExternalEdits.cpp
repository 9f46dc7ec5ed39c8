// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "window/ExternalEdits.h"

#include <chrono>
#include <filesystem>
#include <random>

#include "base/ResourceError.h"
#include "base/Utf8Path.h"
#include "edit/StoredContent.h"
#include "extract/AtomicFile.h"
#include "imaging/DefEncoder.h"
#include "imaging/DefSprite.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "imaging/Png.h"
#include "imaging/SpriteFiles.h"

namespace brasvel {
namespace {

namespace fs = std::filesystem;

std::int64_t ticksOf(fs::file_time_type time) {
    return static_cast<std::int64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count());
}

void writeWhole(const fs::path& path, Bytes content) {
    const fs::path folder = path.parent_path();
    TargetFolder(platform::utf8Path(folder))
        .writeFile(platform::utf8Path(path.filename()), {content.begin(), content.end()});
}

std::string stemOf(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

}  // namespace

FileStamp stampOf(const std::string& path) {
    std::error_code error;
    const fs::path where = platform::fileSystemPath(path);
    const fs::file_status status = fs::status(where, error);
    FileStamp stamp;
    if (error || !fs::exists(status)) {
        return stamp;
    }
    stamp.exists = true;
    if (fs::is_directory(status)) {
        for (const fs::directory_entry& item : fs::directory_iterator(where, error)) {
            std::error_code itemError;
            if (!item.is_regular_file(itemError)) {
                continue;
            }
            stamp.size += item.file_size(itemError);
            stamp.modified = std::max(stamp.modified, ticksOf(item.last_write_time(itemError)));
            ++stamp.files;
        }
        return stamp;
    }
    stamp.size = fs::file_size(where, error);
    stamp.modified = ticksOf(fs::last_write_time(where, error));
    stamp.files = 1;
    return stamp;
}

bool SaveWatch::check(const FileStamp& now) {
    if (now == taken_ || !now.exists) {
        seen_.reset();
        return false;
    }
    if (seen_ && *seen_ == now) {
        taken_ = now;
        seen_.reset();
        return true;
    }
    seen_ = now;
    return false;
}

WorkFolder::~WorkFolder() {
    if (!path_.empty()) {
        std::error_code error;
        fs::remove_all(platform::fileSystemPath(path_), error);
    }
}

std::string WorkFolder::newEntryFolder() {
    if (path_.empty()) {
        std::error_code error;
        const fs::path temporary = fs::temp_directory_path(error);
        std::random_device random;
        for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
            const fs::path candidate =
                temporary / ("brasvel-resedit-" + std::to_string(random() % 1000000000U));
            // create_directory makes it or reports that it was there: never one made by another.
            if (fs::create_directory(candidate, error)) {
                fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace,
                                error);
                path_ = platform::utf8Path(candidate);
            }
        }
        if (path_.empty()) {
            throw ResourceError(ErrorKind::FileFailure,
                                platform::utf8Path(temporary) + ": " + error.message());
        }
    }
    const fs::path folder = platform::fileSystemPath(path_) / std::to_string(++made_);
    std::error_code error;
    if (!fs::create_directory(folder, error)) {
        throw ResourceError(ErrorKind::FileFailure,
                            platform::utf8Path(folder) + ": " + error.message());
    }
    return platform::utf8Path(folder);
}

EditForm editFormOf(bool picture, bool sprite) {
    return picture ? EditForm::Picture : sprite ? EditForm::Sprite : EditForm::Stored;
}

ExternalEdit writeForEditing(const std::string& entryName, const std::string& fileName,
                             EditForm form, Bytes content, const std::string& folder) {
    ExternalEdit edit;
    edit.entryName = entryName;
    edit.form = form;
    const fs::path where = platform::fileSystemPath(folder);
    switch (form) {
        case EditForm::Picture: {
            const Picture picture = decodePcx(content);
            edit.pictureBits = picture.format == PixelFormat::Indexed8 ? 8 : 24;
            const fs::path path = where / platform::fileSystemPath(stemOf(fileName) + ".png");
            writeWhole(path, encodePng(picture));
            edit.path = platform::utf8Path(path);
            break;
        }
        case EditForm::Sprite: {
            const DefSprite sprite = DefSprite::walk(content, fileName);
            SpriteExportOptions options;
            options.keepPalette = true;
            options.source = fileName;
            const fs::path spriteFolder = where / platform::fileSystemPath(stemOf(fileName));
            fs::create_directory(spriteFolder);
            for (const NamedFile& file : exportSprite(sprite, options)) {
                writeWhole(spriteFolder / platform::fileSystemPath(file.name), file.content);
            }
            edit.path = platform::utf8Path(spriteFolder);
            break;
        }
        case EditForm::Stored: {
            const fs::path path = where / platform::fileSystemPath(fileName);
            writeWhole(path, content);
            edit.path = platform::utf8Path(path);
            break;
        }
    }
    edit.watch = SaveWatch(stampOf(edit.path));
    return edit;
}

std::vector<std::byte> convertBack(const ExternalEdit& edit) {
    switch (edit.form) {
        case EditForm::Picture: {
            const std::vector<std::byte> file = readWholeFile(edit.path);
            const PictureFormat format = formatOfPath(edit.path).value_or(PictureFormat::Png);
            return encodePcx(pcxPixels(decodePicture(file, format), edit.pictureBits));
        }
        case EditForm::Sprite: {
            const std::string name = edit.entryName;
            return encodeDef(
                importSpriteFolder(edit.path, readFolderListing(edit.path), std::nullopt, name));
        }
        case EditForm::Stored:
            break;
    }
    return readWholeFile(edit.path);
}

}  // namespace brasvel
