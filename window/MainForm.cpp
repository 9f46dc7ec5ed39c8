#include "window/MainForm.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/ReadOnlyFile.h"
#include "catalogue/DirectoryReaders.h"
#include "base/Text.h"
#include "catalogue/TypeFilter.h"
#include "extract/BatchExtractor.h"
#include "extract/EntryContent.h"
#include "imaging/DefSprite.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"

namespace brasvel {
namespace {

constexpr const char* kQuestionCaption = "Are you sure?";
constexpr const char* kToolbarQuestion = "Extract may be long operation  !";
constexpr const char* kMenuLodQuestion = "It may be long operation :)";
constexpr const char* kMenuOtherQuestion = "It Is long operation :)";
constexpr const char* kFolderCaption = "Select Directory";
constexpr const char* kScrollRangeError = "Scrollbar property out of range";

constexpr int kSizePanel = 1;
constexpr int kFileNamePanel = 2;
constexpr int kStoredSizePanel = 3;
constexpr int kWidthPanel = 4;
constexpr int kHeightPanel = 5;

// A long batch repaints the window this often, so its progress panel moves.
constexpr auto kRepaintInterval = std::chrono::milliseconds(30);

// n / d rounded to the nearest whole number, a half going to the even neighbour.
int roundHalfEven(int n, int d) {
    const int quotient = n / d;
    const int twiceRemainder = 2 * (n % d);
    if (twiceRemainder > d || (twiceRemainder == d && quotient % 2 != 0)) {
        return quotient + 1;
    }
    return quotient;
}

bool isPicture(const CatalogueEntry& entry) { return extIs(entry.Ext, "pcx"); }
bool isSprite(const CatalogueEntry& entry) { return extIs(entry.Ext, "def"); }

std::string nameBytes(const CatalogueEntry& entry) { return std::string(untilNul(entry.Name.view())); }

// The message of an error that ended a handler; an entry's failure names the entry.
std::string messageOf(const ResourceError& error) {
    if (error.entry().empty()) {
        return error.describe();
    }
    return error.entry() + ": " + error.describe();
}

}  // namespace

// The entry last shown in the preview, kept while the same entry stays selected, so that stepping
// through a sprite's frames decodes from memory instead of reading the archive again.
struct MainForm::Impl {
    struct Key {
        std::uint64_t archiveGeneration = 0;
        std::uint16_t entryNumber = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };
    std::optional<Key> key;
    std::vector<std::byte> content;
    std::optional<DefSprite> sprite;
    std::uint64_t archiveGeneration = 0;
    bool convertingSprite = false;

    void forget() {
        key.reset();
        sprite.reset();
        content.clear();
        content.shrink_to_fit();
    }
};

MainForm::MainForm(WindowToolkit& ui, WavePlayer& player)
    : ui_(ui), player_(player), model_(CatalogueModel::create()), impl_(std::make_unique<Impl>()) {
    ui_.onFrameScrollChange = [this] { scbChange(); };
}

MainForm::~MainForm() { ui_.onFrameScrollChange = nullptr; }

// Runs a handler's body; an error ends it and is shown, and the program goes on.
template <typename Body>
void MainForm::guarded(Body&& body) {
    try {
        body();
    } catch (const ResourceError& error) {
        ui_.reportError(messageOf(error));
    } catch (const std::exception& error) {
        ui_.reportError(error.what());
    }
}

// --- Start-up and opening archives ---

void MainForm::FormCreate(const std::string& appPath, const std::string& argument) {
    startDir_ = appPath + "data";
    const int widths[] = {100, 100, 300, 100};
    for (int panel = 0; panel < 4; ++panel) {
        ui_.setStatusWidth(panel, widths[panel]);
    }
    archivePath_.clear();
    if (argument.empty()) {
        return;
    }
    archivePath_ = argument;
    ui_.setStatusText(kFileNamePanel, "File Name : " + argument);
    ui_.repaintWindow();
    // The last three characters choose the reader, in exactly lower or upper case.
    const std::string last = argument.size() >= 3 ? argument.substr(argument.size() - 3) : "";
    ArchiveKind kind = ArchiveKind::None;
    if (last == "vid" || last == "VID") {
        kind = ArchiveKind::Vid;
    } else if (last == "snd" || last == "SND") {
        kind = ArchiveKind::Snd;
    } else if (last == "lod" || last == "LOD") {
        kind = ArchiveKind::Lod;
    }
    if (kind != ArchiveKind::None) {
        guarded([&] { readArchive(kind); });
    }
}

void MainForm::ToolButton1Click() { openThroughDialog(); }
void MainForm::LoadResurceFile1Click() { openThroughDialog(); }

void MainForm::openThroughDialog() {
    guarded([&] {
        const std::optional<OpenChoice> choice = ui_.runOpenDialog(startDir_);
        if (!choice) {
            return;
        }
        player_.close();
        previewOn_ = false;
        archivePath_ = choice->path;
        ui_.setStatusText(kFileNamePanel, "File Name : " + choice->path);
        ui_.beginListUpdate();
        ui_.clearRows();
        ui_.endListUpdate();
        ui_.repaintWindow();
        // The filter the user chose, not the file's extension, decides how it is read.
        const int filter = choice->filterIndex;
        if (filter == 3 || filter == 2 || filter == 1) {
            readArchive(static_cast<ArchiveKind>(filter));
        }
    });
}

void MainForm::readArchive(ArchiveKind kind) {
    impl_->forget();
    ++impl_->archiveGeneration;
    model_->Kind = kind;
    const ListingReport report = openArchive(kind, *model_, ui_, archivePath_);
    if (report.cutToCapacity()) {
        ui_.reportNotice("Archiwum zawiera " + std::to_string(report.headerCount) +
                         " plików; lista pokazuje pierwsze " + std::to_string(kCatalogueCapacity) +
                         ".");
    }
    if (kind == ArchiveKind::Snd) {
        prepareSound();
    }
}

// The selected sound, opened in the player ready to play. With no selected row in the new list
// there is nothing to prepare and the player stays closed.
void MainForm::prepareSound() {
    const CatalogueEntry* entry = model_->selectedEntry();
    if (entry == nullptr) {
        return;
    }
    const ReadOnlyFile archive(archivePath_);
    const std::vector<std::byte> wav = entryContent(archive.bytes(), *entry, model_->Kind);
    player_.open(wav);
}

void MainForm::ViewLod() {
    guarded([&] { brasvel::ViewLod(*model_, ui_); });
}

// --- Extraction ---

std::string MainForm::targetFolder() const {
    if (!extractDir_.empty()) {
        return extractDir_;
    }
    // With no folder chosen, files go beside the open archive.
    const std::filesystem::path folder = std::filesystem::path(archivePath_).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

void MainForm::showPictureSize(std::int32_t width, std::int32_t height) {
    ui_.setStatusText(kWidthPanel, "X: " + std::to_string(width));
    ui_.setStatusText(kHeightPanel, "Y: " + std::to_string(height));
}

void MainForm::ToolButton2Click() { extractSelected(); }
void MainForm::SaveSingleFile1Click() { extractSelected(); }

void MainForm::extractSelected() {
    guarded([&] {
        if (archivePath_.empty() || model_->selectedEntry() == nullptr) {
            return;
        }
        const ReadOnlyFile archive(archivePath_);
        TargetFolder folder(targetFolder());
        folder.keepIntact(archivePath_);
        const ExtractSource source{archive.bytes(), *model_, model_->Kind, true};
        ExtractedRow outcome = extractRow(source, model_->SelectedRow, folder, ExtractOptions{});
        if (outcome.picture) {
            showPictureSize(outcome.picture->width, outcome.picture->height);
        }
        if (outcome.error) {
            throw *outcome.error;
        }
    });
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

void MainForm::ToolButton5Click() { extractAll(BatchVariant::Toolbar); }
void MainForm::SaveSingleFile2Click() { extractAll(BatchVariant::Menu); }

void MainForm::extractAll(BatchVariant variant) {
    bool finished = true;
    guarded([&] {
        finished = false;
        if (!archivePath_.empty()) {
            runBatch(variant);
        }
        finished = true;
    });
    if (!finished) {
        return;  // a failed batch leaves the progress panel, its bar and the row where they were
    }
    model_->SelectedRow = 0;
    ui_.setProgressPosition(ProgressBarId::Batch, 0);
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

void MainForm::runBatch(BatchVariant variant) {
    const ArchiveKind kind = model_->Kind;
    const bool toolbar = variant == BatchVariant::Toolbar;
    const char* question = toolbar                     ? kToolbarQuestion
                           : kind == ArchiveKind::Lod ? kMenuLodQuestion
                                                      : kMenuOtherQuestion;
    if (!ui_.askOkCancel(kQuestionCaption, question)) {
        if (kind != ArchiveKind::Lod) {
            ui_.setPanelVisible(PanelId::Extra, false);
        }
        return;
    }
    const ReadOnlyFile archive(archivePath_);
    TargetFolder folder(targetFolder());
    folder.keepIntact(archivePath_);
    ui_.setPanelVisible(PanelId::Extra, true);
    ui_.repaintWindow();

    // LOD batches advance the bar about 100 units over the whole view; sounds by 1 and videos by
    // 7 per entry, full after 100 sounds or 15 videos.
    const int rows = model_->VisibleCount;
    int step = 1;
    int advance = 1;
    if (kind == ArchiveKind::Lod) {
        step = std::max(1, toolbar ? roundHalfEven(rows, 10) : roundHalfEven(rows, 100));
        advance = toolbar ? 10 : 1;
    } else if (kind == ArchiveKind::Vid) {
        advance = 7;
    }

    const ExtractSource source{archive.bytes(), *model_, kind, true};
    ExtractOptions options;
    options.stopAtFirstFailure = true;
    std::optional<ResourceError> failure;
    auto lastRepaint = std::chrono::steady_clock::now();
    extractView(source, folder, options, [&](const ExtractedRow& row) {
        model_->SelectedRow = row.row;
        if (row.picture) {
            showPictureSize(row.picture->width, row.picture->height);
        }
        if (row.error) {
            failure = row.error;
            return false;
        }
        if (row.row % step == 0) {
            ui_.setProgressPosition(ProgressBarId::Batch,
                                    ui_.progressPosition(ProgressBarId::Batch) + advance);
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - lastRepaint >= kRepaintInterval) {
            ui_.repaintWindow();
            lastRepaint = now;
        }
        return true;
    });
    if (failure) {
        throw *failure;
    }
    ui_.setPanelVisible(PanelId::Extra, false);
}

void MainForm::SetPathForExtract1Click() {
    guarded([&] {
        extractDir_.clear();
        extractDir_ = ui_.chooseFolder(kFolderCaption).value_or("");
        if (!extractDir_.empty() && extractDir_.back() != '/') {
            extractDir_ += '/';
        }
    });
}

// --- Leaving ---

void MainForm::ToolButton4Click() { ui_.closeWindow(); }
void MainForm::Exittheprogram1Click() { ui_.closeWindow(); }

void MainForm::FormClose() {
    guarded([&] { player_.close(); });
    impl_->forget();
}

void MainForm::GeneralHelp1Click() { ui_.showHelp(); }
void MainForm::About2Click() { ui_.showAboutBox(); }

// --- Selection and preview ---

// Putting the frame scroll bar back to frame 1 can itself report a change, which renders frame 1
// of the entry selected until now before the caller moves on.
void MainForm::resetFrameScroll() {
    ui_.setFrameScrollMaximum(1);
    ui_.setFrameScrollPosition(1);
    ui_.setFrameScrollVisible(false);
}

void MainForm::numitem(int row, bool /*selected*/) {
    guarded([&] {
        resetFrameScroll();
        model_->SelectedRow = row;
        const CatalogueEntry* entry = model_->selectedEntry();
        if (entry == nullptr) {
            return;
        }
        ui_.setStatusText(kSizePanel, "FileSize: " + std::to_string(entry->Size));
        ui_.setStatusText(kStoredSizePanel, "Archive : " + std::to_string(entry->PackedSize));
        if (previewOn_) {
            renderSelected();
        }
    });
}

void MainForm::BitBtn3Click() { togglePreview(true); }
void MainForm::QuickView1Click() { togglePreview(false); }

void MainForm::togglePreview(bool fromButton) {
    guarded([&] {
        resetFrameScroll();
        previewOn_ = !previewOn_;
        ui_.setPanelVisible(PanelId::Preview, previewOn_);
        if (!previewOn_ && fromButton) {
            showPictureSize(0, 0);
        }
        if (previewOn_) {
            renderSelected();
        }
    });
}

void MainForm::renderSelected() {
    const CatalogueEntry* entry = model_->selectedEntry();
    if (entry == nullptr) {
        return;
    }
    if (isPicture(*entry)) {
        ui_.setPanelHint(PanelId::Preview, entry->Name.view());
        const Picture picture = decodePcx(selectedContent());
        showPictureSize(picture.width, picture.height);
        ui_.showPicture(encodePicture(picture, PictureFormat::Bmp));
        ui_.repaintImage();
    }
    if (isSprite(*entry)) {
        ui_.setFrameScrollVisible(true);
        ui_.setPanelHint(PanelId::Preview, entry->Name.view());
        renderFrame(1);
    }
}

void MainForm::scbChange() {
    if (impl_->convertingSprite) {
        return;  // the range set for a sprite being shown moves nothing to render
    }
    guarded([&] {
        const CatalogueEntry* entry = model_->selectedEntry();
        // The bar steps through sprites only: after a batch or a new archive the selected row may
        // show another kind of entry, which is not rendered as a sprite.
        if (entry == nullptr || !isSprite(*entry)) {
            return;
        }
        renderFrame(static_cast<std::uint16_t>(ui_.frameScrollPosition()));
    });
}

void MainForm::renderFrame(std::uint32_t frame) {
    const Bytes content = selectedContent();
    const DefHeaderInfo header = readDefHeader(content);
    showPictureSize(header.width, header.height);
    if (!impl_->sprite) {
        impl_->sprite = DefSprite::walk(content, nameBytes(*model_->selectedEntry()) + ".def");
    }
    const DefSprite& sprite = *impl_->sprite;
    if (sprite.frameTotal() == 0) {
        throw ResourceError(kScrollRangeError);
    }
    impl_->convertingSprite = true;
    ui_.setFrameScrollMaximum(static_cast<int>(sprite.frameTotal()));
    impl_->convertingSprite = false;
    ui_.setTypeBoxText(defTypeText(sprite.type()));
    ui_.showPicture(encodePicture(sprite.decodeFrame(frame), PictureFormat::Bmp,
                                  {.role = PictureRole::SpriteFrame}));
    ui_.repaintImage();
}

// The selected entry's content, read from the archive once and kept while it stays selected.
Bytes MainForm::selectedContent() {
    const Impl::Key key{impl_->archiveGeneration, model_->ViewOrder[static_cast<std::size_t>(model_->SelectedRow)]};
    if (impl_->key != key) {
        impl_->forget();
        const ReadOnlyFile archive(archivePath_);
        impl_->content =
            entryContent(archive.bytes(), model_->entryAtRow(model_->SelectedRow), model_->Kind);
        impl_->key = key;
    }
    return impl_->content;
}

void MainForm::Panel1Resize(int width, int height) {
    // The picture fills the panel inside its border and bevel, above the frame scroll bar.
    const int scrollBar = ui_.isFrameScrollVisible() ? 16 : 0;
    ui_.setImageBounds(9, 9, std::max(0, width - 18), std::max(0, height - 18 - scrollBar));
}

// --- Sound ---

void MainForm::MediaPlayer1Click(PlayerButton /*button*/) {
    guarded([&] {
        player_.stop();
        player_.close();
        if (!archivePath_.empty()) {
            prepareSound();
        }
    });
    if (ui_.isListVisible()) {
        ui_.focusList();
    }
}

}  // namespace brasvel
