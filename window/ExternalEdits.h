// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Entries edited in another program: written into a private working folder in the form an editor
// opens (a game picture as PNG, a sprite as its export's folder, anything else as stored,
// inflated), watched until the other program has saved them whole, and converted back. No widget
// and no archive here: MainForm asks the user and makes the edit.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/ByteReader.h"

namespace brasvel {

// What a check of a watched file sees: whether it is there, its size and modification time (for
// a folder, its files' sizes summed, the latest time and how many there are).
struct FileStamp {
    bool exists = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint64_t files = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

FileStamp stampOf(const std::string& path);

// When another program has saved a file completely: its stamp differs from the one last taken
// in, and two checks in a row saw the same stamp (an editor still writing changes it between
// them). A file that is gone (an editor replacing it) waits until it is back.
class SaveWatch {
public:
    explicit SaveWatch(FileStamp taken) : taken_(taken) {}
    // One check; true once a complete save is seen, whose stamp is then the one taken in.
    bool check(const FileStamp& now);

private:
    FileStamp taken_;
    std::optional<FileStamp> seen_;
};

// The form an entry takes for an editor.
enum class EditForm {
    Picture,  // a game picture as PNG: indexed with its palette, or RGB
    Sprite,   // a sprite as its export's folder, its palette kept
    Stored,   // anything else, its content as stored (inflated)
};

// One entry out in another program.
struct ExternalEdit {
    std::string entryName;  // the entry's name in the edit (editName)
    EditForm form = EditForm::Stored;
    std::string path;      // the file, or the sprite's folder, the other program has
    int pictureBits = 8;   // a picture's bit depth, kept when it comes back
    bool always = false;   // "Tak, zawsze dla tego pliku": taken in without asking
    SaveWatch watch{FileStamp{}};
};

// A folder of the user's own, made once under the system's temporary folder and removed with
// everything in it when this goes. Each entry gets a folder of its own in it.
class WorkFolder {
public:
    WorkFolder() = default;
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();
    // A new empty folder for one entry. Throws ResourceError when it cannot be made.
    std::string newEntryFolder();
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::size_t made_ = 0;
};

// The form the entry `fileName` takes (isPicture, isSprite, else stored).
EditForm editFormOf(bool picture, bool sprite);

// Writes `content` of the entry `fileName` (its file name as extraction gives it) into `folder`
// in `form`; the path to open (a file, or the sprite's folder) and, for a picture, its bits.
// Throws ResourceError for content that cannot be decoded in that form.
ExternalEdit writeForEditing(const std::string& entryName, const std::string& fileName,
                             EditForm form, Bytes content, const std::string& folder);

// The entry's new content from what the other program saved: a PNG (or whatever picture it
// wrote) to the game's picture at the entry's bits, a sprite's folder through the sprite import,
// anything else as it is. Throws ResourceError saying why it does not fit (too many colours, a
// frame of the wrong size, ...).
std::vector<std::byte> convertBack(const ExternalEdit& edit);

}  // namespace brasvel
