// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>

#include "app/QtWavePlayer.h"
#include "base/ResourceError.h"

using brasvel::ResourceError;
using brasvel::app::QtWavePlayer;

namespace {

// A wave file of `samples` silent 8-bit mono samples at 11025 Hz.
std::string silentWave(int samples) {
    auto u32 = [](std::uint32_t v) {
        return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char((v >> 24) & 0xFF)};
    };
    auto u16 = [](std::uint16_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    const auto size = static_cast<std::uint32_t>(samples);
    return "RIFF" + u32(36 + size) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(11025) +
           u32(11025) + u16(1) + u16(8) + "data" + u32(size) + std::string(size, '\x80');
}

brasvel::Bytes bytesOf(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const ResourceError& error) {
        return error.text();
    }
    return {};
}

// A second of silence at 8 kHz mono that says when it is released.
class SilentStream : public brasvel::SoundStream {
public:
    SilentStream(bool& released, std::int32_t channels)
        : released_(released), channels_(channels) {}
    ~SilentStream() override { released_ = true; }
    std::int32_t rate() const override { return 8000; }
    std::int32_t channels() const override { return channels_; }
    std::size_t read(std::span<std::int16_t> samples) override {
        const std::size_t count = std::min<std::size_t>(samples.size(), left_);
        std::fill_n(samples.begin(), count, std::int16_t{0});
        left_ -= count;
        return count;
    }

private:
    bool& released_;
    std::int32_t channels_;
    std::size_t left_ = 8000;
};

}  // namespace

class QtWavePlayerTest : public QObject {
    Q_OBJECT
private slots:
    void stoppingOrPlayingWithNothingOpenIsAnError() {
        QtWavePlayer player;
        QCOMPARE(errorText([&] { player.stop(); }), std::string("No MCI device open"));
        QCOMPARE(errorText([&] { player.play(); }), std::string("No MCI device open"));
    }

    void closingWithNothingOpenDoesNothing() {
        QtWavePlayer player;
        player.close();
        QVERIFY(!player.isOpen());
    }

    void bytesThatAreNoWaveFileLeaveThePlayerClosed_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("This is not a sound at all.");
        QTest::newRow("cut header") << QByteArray("RIFF\x10\0\0\0WAV", 11);
    }
    void bytesThatAreNoWaveFileLeaveThePlayerClosed() {
        QFETCH(QByteArray, bytes);
        QtWavePlayer player;
        player.open(bytesOf(silentWave(100)));
        const std::string data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QVERIFY(!errorText([&] { player.open(bytesOf(data)); }).empty());
        QVERIFY(!player.isOpen());
    }

    void aWaveOpensStopsAndClosesWithoutTouchingTheCurrentFolder() {
        QTemporaryDir work;
        const QString before = QDir::currentPath();
        QDir::setCurrent(work.path());
        {
            QtWavePlayer player;
            player.open(bytesOf(silentWave(1000)));
            QVERIFY(player.isOpen());
            player.stop();
            player.open(bytesOf(silentWave(500)));
            QVERIFY(player.isOpen());
            player.close();
            QVERIFY(!player.isOpen());
            QCOMPARE(errorText([&] { player.stop(); }), std::string("No MCI device open"));
        }
        QVERIFY(QDir(work.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
        QDir::setCurrent(before);
    }

    void aStreamOpensStopsAndClosesAndIsReleasedWithTheSound() {
        QtWavePlayer player;
        bool released = false;
        player.openStream(std::make_unique<SilentStream>(released, 1));
        QVERIFY(player.isOpen());
        QVERIFY(!player.playedTime());  // not begun
        player.stop();
        player.open(bytesOf(silentWave(100)));  // a WAV in its place releases the stream
        QVERIFY(released);

        released = false;
        player.openStream(std::make_unique<SilentStream>(released, 1));
        player.close();
        QVERIFY(released);
        QVERIFY(!player.isOpen());
        QCOMPARE(errorText([&] { player.stop(); }), std::string("No MCI device open"));
    }

    void aStreamOfNoChannelsIsRefusedAndLeavesThePlayerClosed() {
        QtWavePlayer player;
        bool released = false;
        QCOMPARE(errorText([&] { player.openStream(std::make_unique<SilentStream>(released, 0)); }),
                 std::string("The sound cannot be played"));
        QVERIFY(!player.isOpen());
        QVERIFY(released);
    }
};

QTEST_MAIN(QtWavePlayerTest)
#include "QtWavePlayerTest.moc"
