// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Plays a tone through the window's real sound path: an SND archive holding one generated WAV is
// opened by the window logic, Play is pressed, and the Qt Multimedia player plays the sound to
// the default audio device. Exits 0 once the sound has played to its end, 1 on any failure.
// With `video`, the tone is a clip's sound in a VID, played by the preview's video player as a
// stream decoded as it is heard; it says how long the device took to begin.
//
// usage: playback-probe FOLDER FREQUENCY SECONDS [video]

#include <QCoreApplication>
#include <QMediaPlayer>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/QtWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/SoundWriters.h"
#include "tools/writers/VideoWriters.h"
#include "window/MainForm.h"
#include "window/VideoPreview.h"

namespace {

// A clip of `seconds` at 10 frames a second whose sound is the tone, played until its picture
// ends, with its sound heard through the stream.
int playVideo(QCoreApplication& application, const std::filesystem::path& folder, double frequency,
              double seconds) {
    using namespace brasvel;
    const writers::ClipShape shape{8, 8, static_cast<int>(seconds * 10), 10, 22050, 1};
    std::vector<std::int16_t> tone(static_cast<std::size_t>(seconds * shape.soundRate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = static_cast<std::int16_t>(
            16000 * std::sin(2 * M_PI * frequency * double(i) / shape.soundRate));
    }
    const std::string clip = writers::losslessClip(
        shape, [&](int index) { return writers::clipFramePixels(shape, index); }, tone);
    const std::string archive = (folder / "tone.vid").string();
    std::ofstream(archive, std::ios::binary) << writers::VidWriter().add("TONE.smk", clip).build();

    HeadlessToolkit ui;
    app::QtWavePlayer player;
    MainForm form(ui, player);
    video::VideoOptions options;
    options.formats.insert(options.formats.end(), writers::kClipFormats.begin(),
                           writers::kClipFormats.end());
    options.codecs.insert(options.codecs.end(), writers::kClipCodecs.begin(),
                          writers::kClipCodecs.end());
    form.setVideoOptions(options);
    form.FormCreate("", archive);
    form.BitBtn3Click();  // the preview on
    form.numitem(0, true);
    const auto pressed = std::chrono::steady_clock::now();
    form.videoPlayPause();
    if (!ui.errors.empty() || !player.isOpen() || !form.videoPreview().isPlaying()) {
        std::cerr << "playback-probe: the video's sound was not prepared: "
                  << (ui.errors.empty() ? ui.videoInfo : ui.errors.front()) << '\n';
        return 1;
    }
    int exitCode = 1;
    bool heard = false;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, &application, [&] {
        if (!heard && player.playedTime()) {
            heard = true;
            std::cout << "the sound began "
                      << std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - pressed)
                             .count()
                      << " ms after Play\n";
        }
        form.videoTick();
        if (!form.videoPreview().isPlaying()) {
            exitCode = heard ? 0 : 1;
            application.quit();
        }
    });
    ticks.start(20);
    QTimer::singleShot(static_cast<int>(seconds * 1000) + 10000, &application, [&] {
        std::cerr << "playback-probe: the video did not end in time\n";
        application.quit();
    });
    application.exec();
    form.FormClose();
    return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 4 && !(argc == 5 && std::string(argv[4]) == "video")) {
        std::cerr << "usage: playback-probe FOLDER FREQUENCY SECONDS [video]\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const double frequency = std::stod(argv[2]);
    const double seconds = std::stod(argv[3]);
    if (argc == 5) {
        return playVideo(application, folder, frequency, seconds);
    }
    const std::string archive = (folder / "tone.snd").string();
    std::ofstream(archive, std::ios::binary)
        << brasvel::writers::SndWriter()
               .add("TONE",
                    brasvel::writers::pcmWave(
                        seconds, 22050,
                        [frequency](double t) { return 0.5 * std::sin(2 * M_PI * frequency * t); }))
               .build();

    brasvel::HeadlessToolkit ui;
    brasvel::app::QtWavePlayer player;
    brasvel::MainForm form(ui, player);
    ui.openReplies.push_back(brasvel::OpenChoice{archive, 2});
    form.ToolButton1Click();
    form.MediaPlayer1Click(brasvel::PlayerButton::Play);
    if (!ui.errors.empty() || !player.isOpen()) {
        std::cerr << "playback-probe: the sound was not prepared: "
                  << (ui.errors.empty() ? "no device" : ui.errors.front()) << '\n';
        return 1;
    }
    player.play();

    int exitCode = 1;
    QMediaPlayer* media = player.mediaPlayer();
    QObject::connect(media, &QMediaPlayer::mediaStatusChanged, &application,
                     [&](QMediaPlayer::MediaStatus status) {
                         if (status == QMediaPlayer::EndOfMedia) {
                             exitCode = 0;
                             application.quit();
                         }
                     });
    QObject::connect(media, &QMediaPlayer::errorOccurred, &application,
                     [&](QMediaPlayer::Error, const QString& text) {
                         std::cerr << "playback-probe: " << text.toStdString() << '\n';
                         application.quit();
                     });
    QTimer::singleShot(static_cast<int>(seconds * 1000) + 10000, &application, [&] {
        std::cerr << "playback-probe: the sound did not end in time\n";
        application.quit();
    });
    application.exec();
    form.FormClose();
    return exitCode;
}
