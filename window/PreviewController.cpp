// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The preview panel: its pages, the content cache, sprite playback, its save and export commands,
// and the video player.
#include "window/PreviewController.h"

#include <algorithm>
#include <filesystem>

#include "base/Text.h"
#include "base/Utf8Path.h"
#include "extract/AtomicFile.h"
#include "extract/EntryCheck.h"
#include "extract/SafeName.h"
#include "imaging/BitFont.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"
#include "imaging/SpriteFiles.h"
#include "imaging/WaveSound.h"
#include "window/WindowTexts.h"

namespace brasvel {
namespace {

constexpr int kWidthPanel = 4;
constexpr int kHeightPanel = 5;

std::string number(std::int64_t value) { return std::to_string(value); }
std::string count(std::uint64_t value) { return std::to_string(value); }

// The waveform's size in pixels: one column for each of as many parts of the sound.
constexpr std::size_t kWaveformWidth = 480;
constexpr std::int32_t kWaveformHeight = 120;

}  // namespace

PreviewController::PreviewController(Widgets ui, WavePlayer& player,
                                     const ArchiveSession& session)
    : ui_(ui), session_(session), video_(ui.pages, ui.shell, player) {}

const Entry* PreviewController::selectedEntry() const {
    if (!selected_ || !session_.isOpen() || *selected_ >= session_.entries().size()) {
        return nullptr;
    }
    return &session_.entries()[*selected_];
}

// --- What is kept ---

void PreviewController::listChanged() {
    forgetShownEntry();
    ++listGeneration_;
}

void PreviewController::forgetContent() { forgetShownEntry(); }

void PreviewController::forgetShownEntry() {
    key_.reset();
    sprite_.reset();
    content_.clear();
    content_.shrink_to_fit();
}

// Stepping through a sprite's frames decodes from memory instead of reading the archive again.
Bytes PreviewController::selectedContent() {
    const ContentKey key{listGeneration_, *selected_};
    if (key_ != key) {
        forgetShownEntry();
        try {
            content_ = session_.content(key.entryIndex);
        } catch (const ResourceError& error) {
            if (isDamage(error) && onDamage) {
                onDamage(key.entryIndex, error.describe());
            }
            throw;
        }
        key_ = key;
    }
    return content_;
}

void PreviewController::stop() {
    stopPlayback();
    video_.close();
}

// --- The preview on and off, what it shows ---

void PreviewController::toggle(bool fromButton) {
    video_.close();
    resetFrameScroll();
    on_ = !on_;
    ui_.status.setPanelVisible(PanelId::Preview, on_);
    if (!on_ && fromButton) {
        showPictureSize(0, 0);
    }
    showSelected();
}

void PreviewController::showSelected() {
    if (on_) {
        previewing([&] { renderSelected(); });
    }
}

void PreviewController::clear(const std::string& message) {
    shown_ = Shown::Nothing;
    ui_.pages.showPreviewMessage(message);
    ui_.status.setStatusText(kWidthPanel, text(texts::kNoPictureWidth));
    ui_.status.setStatusText(kHeightPanel, text(texts::kNoPictureHeight));
}

// The change the bar raises is the preview's own: it renders nothing (it once rendered the entry
// selected until now, showing that entry's error again before the new one's).
void PreviewController::resetFrameScroll() {
    stopPlayback();
    shown_ = Shown::Nothing;  // until the entry chosen now is drawn
    movingScrollBar_ = true;
    try {
        ui_.frameRow.setFrameScrollMaximum(1);
        ui_.frameRow.setFrameScrollPosition(1);
    } catch (...) {
        movingScrollBar_ = false;
        throw;
    }
    movingScrollBar_ = false;
    ui_.frameRow.setFrameScrollVisible(false);
}

bool PreviewController::canSavePicture() const {
    return shown_ != Shown::Nothing && selectedEntry() != nullptr;
}

bool PreviewController::canExportSprite() const {
    const Entry* entry = selectedEntry();
    return entry != nullptr && isSprite(*entry);
}

void PreviewController::showPictureSize(std::int32_t width, std::int32_t height) {
    ui_.status.setStatusText(kWidthPanel,
                             texts::fillIn(text(texts::kPictureWidth), {number(width)}));
    ui_.status.setStatusText(kHeightPanel,
                             texts::fillIn(text(texts::kPictureHeight), {number(height)}));
}

// An entry's failure names the entry: the one the error names, else the one chosen.
std::string PreviewController::failureText(const ResourceError& error) const {
    const std::string why =
        texts::describeError(error, [this](const char* source) { return text(source); });
    const Entry* entry = selectedEntry();
    const std::string name = !error.entry().empty() ? error.entry()
                             : entry != nullptr     ? shownText(entry->caption)
                                                    : std::string();
    return name.empty() ? why : texts::fillIn(text(texts::kEntryError), {name, why});
}

void PreviewController::previewing(const std::function<void()>& step) {
    try {
        step();
    } catch (const ResourceError& error) {
        clear(failureText(error));
    }
}

void PreviewController::renderSelected() {
    const Entry* entry = selectedEntry();
    if (entry == nullptr) {
        clear(text(texts::kNoSelection));
        return;
    }
    if (isPicture(*entry)) {
        ui_.status.setPanelHint(PanelId::Preview, entry->name);
        const Picture picture = decodePcx(selectedContent());
        showPictureSize(picture.width, picture.height);
        ui_.pages.showPicture(encodePicture(picture, PictureFormat::Bmp), PictureKind::Picture);
        shown_ = Shown::Picture;
        ui_.pages.repaintImage();
    } else if (isSprite(*entry)) {
        ui_.frameRow.setFrameScrollVisible(true);
        ui_.status.setPanelHint(PanelId::Preview, entry->name);
        renderFrame(1);
    } else if (isVideo(*entry)) {
        ui_.status.setPanelHint(PanelId::Preview, entry->name);
        video_.open(selectedContent(), shownText(entry->caption));
        const video::VideoInfo& figures = *video_.info();
        showPictureSize(figures.width, figures.height);
    } else {
        showEntryPage(*entry);
    }
}

void PreviewController::frameScrollChanged() {
    if (movingScrollBar_) {
        return;
    }
    const Entry* entry = selectedEntry();
    if (entry == nullptr || !isSprite(*entry)) {
        return;
    }
    previewing([&] {
        renderFrame(static_cast<std::uint16_t>(ui_.frameRow.frameScrollPosition()));
    });
}

void PreviewController::renderFrame(std::uint32_t frame) {
    const Bytes content = selectedContent();
    const DefHeaderInfo header = readDefHeader(content);
    showPictureSize(header.width, header.height);
    if (!sprite_) {
        sprite_ = DefSprite::walk(content, std::string(untilNul(selectedEntry()->name)) + ".def");
    }
    const DefSprite& sprite = *sprite_;
    if (sprite.frameTotal() == 0) {
        throw ResourceError::worded(text(texts::kNoFrames));
    }
    movingScrollBar_ = true;
    ui_.frameRow.setFrameScrollMaximum(static_cast<int>(sprite.frameTotal()));
    movingScrollBar_ = false;
    ui_.status.setTypeBoxText(defTypeText(sprite.type()));
    ui_.pages.showPicture(encodePicture(sprite.decodeFrame(frame), PictureFormat::Bmp,
                                        {.role = PictureRole::SpriteFrame}),
                          PictureKind::SpriteFrame);
    shown_ = Shown::Frame;
    const FrameBlock block = blockOfFrame(sprite.blocks(), frame);
    ui_.frameRow.setFrameCaption(texts::fillIn(
        text(texts::kFrameCaption),
        {number(frame), number(sprite.frameTotal()), number(static_cast<std::int64_t>(block.block)),
         number(frame - block.first + 1), number(block.last - block.first + 1)}));
    ui_.pages.repaintImage();
}

void PreviewController::showEntryPage(const Entry& entry) {
    const Bytes content = selectedContent();
    shown_ = Shown::Nothing;
    ui_.status.setPanelHint(PanelId::Preview, entry.name);
    ui_.status.setStatusText(kWidthPanel, text(texts::kNoPictureWidth));
    ui_.status.setStatusText(kHeightPanel, text(texts::kNoPictureHeight));
    switch (previewKindOf(entry.ext, content)) {
    case PreviewKind::Sound:
        showSound(content);
        break;
    case PreviewKind::Font: {
        const BitFont font = *readBitFont(content);
        const Picture sheet = fontSheet(font);
        showPictureSize(sheet.width, sheet.height);
        ui_.pages.showDrawing(encodePicture(sheet, PictureFormat::Bmp),
                              texts::fillIn(text(texts::kFontFigures),
                                            {count(font.count), number(font.glyphs.width),
                                             number(font.glyphs.height),
                                             number(font.firstCharacter)}));
        break;
    }
    case PreviewKind::Mask: {
        const CellMask mask = *readCellMask(content);
        const Picture grid = maskPicture(mask);
        showPictureSize(grid.width, grid.height);
        ui_.pages.showDrawing(encodePicture(grid, PictureFormat::Bmp),
                              texts::fillIn(text(texts::kMaskFigures),
                                            {number(mask.cells.width), number(mask.cells.height),
                                             count(mask.layers)}));
        break;
    }
    case PreviewKind::Colours:
        ui_.pages.showPalette(paletteColours(content));
        break;
    case PreviewKind::Text:
        ui_.pages.showPreviewText(previewText(content), partNote(kTextPreviewLimit, content.size()));
        break;
    default:
        ui_.pages.showHexView(content.first(std::min(content.size(), kHexPreviewLimit)),
                              partNote(kHexPreviewLimit, content.size()));
        break;
    }
}

// A sound's figures above its waveform; without a sound device, the figures say so.
void PreviewController::showSound(Bytes content) {
    const WaveSound sound = *readWave(content);
    const std::uint64_t tenths = sound.milliseconds() / 100;
    const std::uint64_t seconds = tenths / 10 % 60;
    const std::string length = texts::fillIn(
        text(texts::kVideoTime),
        {count(tenths / 600), (seconds < 10 ? "0" : "") + count(seconds), count(tenths % 10)});
    const std::string format = sound.format == kWavePcm
                                   ? text(texts::kSoundPcm)
                                   : texts::fillIn(text(texts::kSoundFormat), {number(sound.format)});
    std::string figures =
        texts::fillIn(text(texts::kSoundFigures), {format, number(sound.rate),
                                                   number(sound.channels), number(sound.bits),
                                                   length});
    if (noSoundDevice_) {
        figures = texts::fillIn(text(texts::kSoundUnheard), {figures, text(texts::kNoSoundDevice)});
    }
    const std::vector<WavePeak> peaks = wavePeaks(sound, kWaveformWidth);
    std::vector<std::byte> drawn;
    if (!peaks.empty()) {
        drawn = encodePicture(waveformPicture(peaks, kWaveformHeight), PictureFormat::Bmp);
    }
    ui_.pages.showDrawing(drawn, figures);
}

void PreviewController::noteNoSoundDevice() {
    noSoundDevice_ = true;
    const Entry* entry = selectedEntry();
    if (on_ && entry != nullptr && extIs(entry->ext, "wav")) {
        showSelected();
    }
}

// The note above a page that shows `shown` bytes of `size`; empty when it shows them all.
std::string PreviewController::partNote(std::size_t shown, std::size_t size) const {
    if (size <= shown) {
        return {};
    }
    const auto kilobytes = [](std::size_t bytes) {
        return number(static_cast<std::int64_t>((bytes + 1023) / 1024));
    };
    return texts::fillIn(text(texts::kPartShown), {kilobytes(shown), kilobytes(size)});
}

// --- Sprite playback ---

void PreviewController::stopPlayback() {
    playing_ = false;
    ui_.frameRow.setFrameTimer(0);
}

void PreviewController::playFrames() {
    if (playing_) {
        stopPlayback();
    } else if (shown_ == Shown::Frame) {
        playing_ = true;
        ui_.frameRow.setFrameTimer(playbackInterval(framesPerSecond_));
    }
}

void PreviewController::frameTimerTick() {
    const Entry* entry = selectedEntry();
    if (!playing_ || !on_ || shown_ != Shown::Frame || entry == nullptr || !isSprite(*entry) ||
        !sprite_) {
        stopPlayback();
        return;
    }
    const auto frame = static_cast<std::uint32_t>(ui_.frameRow.frameScrollPosition());
    const FrameBlock block = blockOfFrame(sprite_->blocks(), frame);
    // The scroll bar's notification shows the frame; a frame that fails ends playback.
    ui_.frameRow.setFrameScrollPosition(static_cast<int>(nextPlaybackFrame(block, frame)));
    if (shown_ != Shown::Frame) {
        stopPlayback();
    }
}

void PreviewController::setFramesPerSecond(int framesPerSecond) {
    framesPerSecond_ = std::clamp(framesPerSecond, kSlowestPlayback, kFastestPlayback);
    if (playing_) {
        ui_.frameRow.setFrameTimer(playbackInterval(framesPerSecond_));
    }
}

// --- Saving what is shown ---

Picture PreviewController::shownPicture(std::string& suggestedName) {
    const Entry& entry = *selectedEntry();
    const std::string name(untilNul(entry.name));
    if (shown_ == Shown::Picture) {
        suggestedName = name + ".png";
        return decodePcx(selectedContent());
    }
    const auto frame = static_cast<std::uint32_t>(ui_.frameRow.frameScrollPosition());
    suggestedName = name + "-" + number(frame) + ".png";
    return DefSprite::walk(selectedContent(), name + ".def").decodeFrame(frame);
}

void PreviewController::savePictureAsPng(const std::string& folderPath) {
    namespace fs = std::filesystem;
    if (shown_ == Shown::Nothing || selectedEntry() == nullptr) {
        return;
    }
    std::string nameBytes;
    const Picture picture = shownPicture(nameBytes);
    const EncodeOptions options{.role = shown_ == Shown::Frame ? PictureRole::SpriteFrame
                                                                : PictureRole::GamePicture};
    std::string suggested;
    try {
        suggested = platform::joinedPath(folderPath, safeFileName(nameBytes));
    } catch (const ResourceError&) {
        suggested = platform::joinedPath(folderPath, "picture.png");
    }
    const std::optional<std::string> chosen =
        ui_.dialogs.askSavePath(text(texts::kSavePngCaption), suggested);
    if (!chosen || chosen->empty()) {
        return;
    }
    // The dialog adds ".png" to a bare name; a name the user gave a BMP suffix gets a BMP.
    const PictureFormat format = formatOfPath(*chosen).value_or(PictureFormat::Png);
    std::error_code error;
    if (fs::equivalent(platform::fileSystemPath(*chosen), platform::fileSystemPath(session_.path()),
                       error)) {
        ui_.dialogs.reportError(texts::fillIn(text(texts::kNotOverArchive), {*chosen}));
        return;
    }
    TargetFolder folder(platform::folderOfPath(*chosen));
    session_.keepIntact(folder);
    folder.writeFile(platform::fileNameOfPath(*chosen), encodePicture(picture, format, options));
    ui_.dialogs.reportNotice(texts::fillIn(
        text(texts::kPictureSaved), {*chosen, number(picture.width), number(picture.height)}));
}

std::uint32_t PreviewController::shownFrame() const {
    return shown_ == Shown::Frame
               ? static_cast<std::uint32_t>(std::max(ui_.frameRow.frameScrollPosition(), 1))
               : 1;
}

void PreviewController::exportSprite() {
    namespace fs = std::filesystem;
    const Entry* entry = selectedEntry();
    if (entry == nullptr || !isSprite(*entry)) {
        return;
    }
    const std::string beside = platform::folderOfPath(session_.path());
    const std::optional<std::string> chosen = ui_.dialogs.chooseFolder(
        text(texts::kExportFolderCaption), beside.empty() ? std::string(".") : beside);
    if (!chosen || chosen->empty()) {
        return;
    }
    const std::string caption = shownText(entry->caption);
    const std::vector<std::string> buttons{text(texts::kExportShownButton),
                                           text(texts::kExportKeepPaletteButton),
                                           text(texts::kCancelChoiceButton)};
    const std::size_t kept = ui_.dialogs.askChoice(
        text(texts::kExportFolderCaption),
        texts::fillIn(text(texts::kExportPaletteQuestion), {caption}), buttons);
    if (kept > 1) {
        return;
    }
    const Bytes content = selectedContent();
    std::vector<NamedFile> files;
    std::size_t frames = 0;
    std::size_t blocks = 0;
    try {
        const DefSprite sprite =
            DefSprite::walk(content, std::string(untilNul(entry->name)) + ".def");
        SpriteExportOptions options;
        options.source = caption;
        options.keepPalette = kept == 1;
        files = brasvel::exportSprite(sprite, options);
        frames = sprite.frameTotal();
        blocks = sprite.blocks().size();
    } catch (ResourceError& error) {
        throw error.withEntry(caption);
    }
    std::size_t existing = 0;
    for (const NamedFile& file : files) {
        std::error_code error;
        existing += fs::exists(
            fs::symlink_status(platform::fileSystemPath(platform::joinedPath(*chosen, file.name)), error));
    }
    if (existing > 0 &&
        !ui_.dialogs.askOkCancel(text(texts::kFilesExistCaption),
                                 texts::fillIn(text(texts::kReplaceExportQuestion),
                                               {count(existing), count(files.size()), *chosen}))) {
        return;
    }
    TargetFolder folder(*chosen);
    session_.keepIntact(folder);
    for (const NamedFile& file : files) {
        folder.writeFile(file.name, file.content);
    }
    ui_.dialogs.reportNotice(texts::fillIn(
        text(texts::kSpriteExported),
        {count(files.size()), caption, *chosen, count(frames), count(blocks)}));
}

}  // namespace brasvel
