// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// The preview panel as one part of the window: whether it is on, what its picture page shows,
// the selected entry's content kept while it stays selected, the sprite shown and its playback,
// saving the picture as PNG and exporting the sprite, and the video player. The window tells it
// which entry is selected and when the list or the archive changed; it reads every entry through
// the ArchiveSession and talks to the widgets only through the toolkit's small interfaces.
//
// Its steps throw the core's errors to the window's handlers, except where `previewing` shows a
// failure in the preview itself.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/DefSprite.h"
#include "toolkit/WindowToolkit.h"
#include "video/VideoClip.h"
#include "window/ArchiveSession.h"
#include "window/PreviewKinds.h"
#include "window/VideoPreview.h"
#include "window/WavePlayer.h"

namespace brasvel {

struct Picture;

class PreviewController {
public:
    // What the picture page shows, for the commands that save it.
    enum class Shown { Nothing, Picture, Frame };

    // The widgets the preview uses: its pages and frame row, the status panels of the picture's
    // size and the type box, the dialogs of its commands, the translation.
    struct Widgets {
        PreviewWidgets& pages;
        FrameRowWidgets& frameRow;
        StatusWidgets& status;
        Dialogs& dialogs;
        WindowShell& shell;
    };

    PreviewController(Widgets ui, WavePlayer& player, const ArchiveSession& session);
    explicit PreviewController(WindowToolkit& ui, WavePlayer& player,
                               const ArchiveSession& session)
        : PreviewController(Widgets{ui, ui, ui, ui, ui}, player, session) {}
    PreviewController(const PreviewController&) = delete;
    PreviewController& operator=(const PreviewController&) = delete;

    // Damage found in an entry's content when the preview read it (directory index, what).
    std::function<void(std::size_t, const std::string&)> onDamage;

    bool isOn() const { return on_; }
    Shown shown() const { return shown_; }
    // The sprite frame shown (counted from 1 over every block); 1 when no frame is.
    std::uint32_t shownFrame() const;
    bool isPlaying() const { return playing_; }
    int framesPerSecond() const { return framesPerSecond_; }
    VideoPreview& video() { return video_; }
    const VideoPreview& video() const { return video_; }

    // The entry the preview follows: its directory index, or none.
    void select(std::optional<std::size_t> index) { selected_ = index; }
    // The list's entries or their contents changed, or another archive opened: what the preview
    // kept belongs to the list before.
    void listChanged();
    // Releases the content kept, when the window closes.
    void forgetContent();
    // Stops the sprite's playback and closes the video.
    void stop();

    // The preview switch; closed from the tool bar, the picture's size panels are emptied.
    void toggle(bool fromButton);
    // Shows the selected entry when the preview is on.
    void showSelected();
    // The preview and the picture-size panels say `message` instead of keeping the last picture.
    void clear(const std::string& message);
    // Stops playback and puts the frame scroll bar back to frame 1, hidden.
    void resetFrameScroll();
    // Whether its commands are usable: save the picture or frame shown, export the selected
    // sprite.
    bool canSavePicture() const;
    bool canExportSprite() const;
    void showPictureSize(std::int32_t width, std::int32_t height);
    // Runs a preview step; its failure is shown once, in the preview, for the entry chosen.
    void previewing(const std::function<void()>& step);

    // The frame scroll bar moved: the sprite's frame at its position is shown.
    void frameScrollChanged();
    // Play/stop the shown frame's block in a loop; the timer's tick; the speed (clamped).
    void playFrames();
    void frameTimerTick();
    void setFramesPerSecond(int framesPerSecond);

    // Play found no sound device: the sound's figures say so from now on.
    void noteNoSoundDevice();
    bool soundDeviceMissing() const { return noSoundDevice_; }

    // The picture or frame shown, to a PNG (or BMP) file the user names, offered in `folder`
    // and never over the open archive.
    void savePictureAsPng(const std::string& folder);
    // The selected sprite as `sprite export` writes it, into a folder the user chooses.
    void exportSprite();

private:
    // What the cache holds: entry `entryIndex` of the list as it was at `listGeneration`.
    struct ContentKey {
        std::uint64_t listGeneration = 0;
        std::size_t entryIndex = 0;
        friend bool operator==(const ContentKey&, const ContentKey&) = default;
    };

    std::string text(const char* source) const { return ui_.shell.translate(source); }
    std::string failureText(const ResourceError& error) const;
    const Entry* selectedEntry() const;
    void renderSelected();
    void renderFrame(std::uint32_t frame);
    // The selected entry's content, read once and kept while it stays selected.
    Bytes selectedContent();
    void forgetShownEntry();
    // The text, palette or hex page for an entry that is neither picture nor sprite.
    void showEntryPage(const Entry& entry);
    std::string partNote(std::size_t shown, std::size_t size) const;
    void showSound(Bytes content);
    void stopPlayback();
    // The picture or sprite frame shown, decoded again, and the file name it is offered under.
    Picture shownPicture(std::string& suggestedName);

    Widgets ui_;
    const ArchiveSession& session_;
    bool on_ = false;
    Shown shown_ = Shown::Nothing;
    bool playing_ = false;
    int framesPerSecond_ = kDefaultPlayback;
    std::optional<std::size_t> selected_;
    std::uint64_t listGeneration_ = 0;
    std::optional<ContentKey> key_;
    std::vector<std::byte> content_;
    std::optional<DefSprite> sprite_;
    bool noSoundDevice_ = false;
    bool movingScrollBar_ = false;  // the bar's changes are the preview's own: nothing to render
    VideoPreview video_;
};

}  // namespace brasvel
