// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// Plays a tone through the window's real sound path: an SND archive holding one generated WAV is
// opened by the window logic, Play is pressed, and the Qt Multimedia player plays the sound to
// the default audio device. Exits 0 once the sound has played to its end, 1 on any failure.
//
// usage: playback-probe FOLDER FREQUENCY SECONDS

#include <QCoreApplication>
#include <QMediaPlayer>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/QtWavePlayer.h"
#include "toolkit/HeadlessToolkit.h"
#include "tools/writers/ArchiveWriters.h"
#include "tools/writers/SoundWriters.h"
#include "window/MainForm.h"

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 4) {
        std::cerr << "usage: playback-probe FOLDER FREQUENCY SECONDS\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const double frequency = std::stod(argv[2]);
    const double seconds = std::stod(argv[3]);
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
