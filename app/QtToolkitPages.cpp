// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// The toolkit's preview pages beside the picture, the sprite's playback and the save dialog.

#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>

#include "app/LocalPath.h"
#include "app/AppTexts.h"
#include "app/Artwork.h"
#include "app/MainWindow.h"
#include "app/PreviewPages.h"
#include "app/QtToolkit.h"

namespace brasvel::app {
namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtToolkit::showPage(QWidget* page, std::string_view note) {
    window_.PreviewPages->setCurrentWidget(page);
    window_.PageNote->setText(fromUtf8(note));
    window_.PageNote->setVisible(!note.empty());
}

void QtToolkit::showPreviewText(std::string_view text, std::string_view note) {
    window_.PreviewText->setPlainText(fromUtf8(text));
    showPage(window_.PreviewText, note);
}

void QtToolkit::showPalette(std::span<const SwatchColour> colours) {
    QList<QRgb> shown;
    shown.reserve(static_cast<qsizetype>(colours.size()));
    for (const SwatchColour& colour : colours) {
        shown << qRgb(colour.red, colour.green, colour.blue);
    }
    window_.PaletteView->setColours(shown);
    showPage(window_.PalettePage, {});
}

void QtToolkit::showHexView(std::span<const std::byte> bytes, std::string_view note) {
    window_.HexDump->setBytes({bytes.begin(), bytes.end()});
    showPage(window_.HexDump, note);
}

void QtToolkit::showDrawing(std::span<const std::byte> bmpFile, std::string_view figures) {
    if (bmpFile.empty()) {
        showPreviewMessage(figures);
        return;
    }
    showPicture(bmpFile, PictureKind::Picture);
    showPage(window_.PicturePage, figures);
}

void QtToolkit::makeSaveDialog(QFileDialog& dialog) {
    dialog.setOptions(kFileDialogOptions);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
}

void QtToolkit::prepareSaveDialog(QFileDialog& dialog, const QString& suggestedPath) {
    makeSaveDialog(dialog);
    dialog.setNameFilter(appText(texts::kPngFilter));
    // A name typed without a suffix gets ".png" before the dialog asks about replacing a file.
    dialog.setDefaultSuffix(QStringLiteral("png"));
    const QFileInfo suggested(suggestedPath);
    if (suggested.absoluteDir().exists()) {
        dialog.setDirectory(suggested.absolutePath());
    }
    dialog.selectFile(suggested.fileName());
}

std::optional<std::string> QtToolkit::askSavePath(std::string_view caption,
                                                  std::string_view suggestedPath) {
    QFileDialog dialog(&window_, fromUtf8(caption));
    prepareSaveDialog(dialog, fromLocalPath(suggestedPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return localPath(dialog.selectedFiles().constFirst());
}

void QtToolkit::setFrameCaption(std::string_view text) {
    window_.FrameCaption->setText(fromUtf8(text));
}

void QtToolkit::setFrameTimer(int intervalMs) {
    const bool playing = intervalMs > 0;
    if (playing) {
        window_.FrameTimer->start(intervalMs);
    } else {
        window_.FrameTimer->stop();
    }
    window_.PlayFrames->setIcon(playing ? stopIcon() : playIcon());
    window_.PlayFrames->setText(appText(playing ? texts::kStopHint : texts::kPlayHint));
}

}  // namespace brasvel::app
