#include "AudioCtl.h"
#include "BoardTest.h"
#include "TimeCode.h"

#include <QSignalSpy>
#include <QTest>

TEST(AudioMeter, CurveFromFullScaleToSilence)
{
    EXPECT_EQ(AudioCtl::convert(32768), 53);
    EXPECT_EQ(AudioCtl::convert(16384), 47) << "6 dB down";
    EXPECT_EQ(AudioCtl::convert(3277), 33) << "20 dB down";
    EXPECT_EQ(AudioCtl::convert(82), 1) << "-52 dBFS";
    EXPECT_EQ(AudioCtl::convert(1), 0);
    EXPECT_EQ(AudioCtl::convert(0), 0);
    EXPECT_EQ(AudioCtl::convert(-5), 0);
    EXPECT_EQ(AudioCtl::convert(65535), 53) << "beyond full scale is full scale";
}

TEST_F(BoardTest, AudioLevelsRiseAtOnceAndFallIn182Ticks)
{
    AudioCtl *audio = AudioCtl::getInstance();
    EXPECT_EQ(board().pl().field(SDI_AUX_CTL, 0, 0), 1u) << "extraction on";
    QSignalSpy spy(audio, &AudioCtl::updateAudio);
    board().pl().set(AUD_AES_MAX, 32768u << 16 | 16384u);
    board().pl().set(AUD_FRM_CNT, 0xF000u | 800u);
    audio->update();
    audio->slotAudioUp();
    ASSERT_FALSE(spy.isEmpty());
    EXPECT_EQ(spy.last().at(0).toInt(), 371);
    EXPECT_EQ(spy.last().at(1).toInt(), 329);

    // No samples: both levels 0 whatever the peaks.
    board().pl().set(AUD_FRM_CNT, 0xF000u);
    audio->update();
    for (int tick = 0; tick < 182; ++tick)
        audio->slotAudioUp();
    EXPECT_EQ(spy.last().at(0).toInt(), 7);
    audio->slotAudioUp();
    EXPECT_EQ(spy.last().at(0).toInt(), 0);
    EXPECT_EQ(spy.last().at(1).toInt(), 0);

    // A skipped tick emits nothing; blanking shows zero until the next reading.
    board().pl().set(AUD_FRM_CNT, 800u);
    audio->update();
    const int before = spy.count();
    audio->resetAudio(true);
    audio->slotAudioUp();
    EXPECT_EQ(spy.count(), before);
    audio->setAudio(true);
    audio->slotAudioUp();
    EXPECT_EQ(spy.last().at(0).toInt(), 0);
    audio->update();
    audio->slotAudioUp();
    EXPECT_EQ(spy.last().at(0).toInt(), 371);

    audio->setAudioGroup(1);
    EXPECT_EQ(board().pl().field(SDI_AUX_CTL, 4, 4), 1u);
    audio->setAudioGroup(2);
    EXPECT_EQ(board().pl().field(SDI_AUX_CTL, 4, 4), 1u);
    audio->setAudioGroup(0);
    EXPECT_EQ(board().pl().field(SDI_AUX_CTL, 4, 4), 0u);
}

// The tick runs while frames come in, bars moving or not (the time code and
// the light meter are shown from it), and rests a few ticks after the last
// frame; losing the picture shows zero once, then it rests.
TEST_F(BoardTest, TheMeterTicksOnlyWhileFramesComeIn)
{
    AudioCtl *audio = AudioCtl::getInstance();
    QSignalSpy spy(audio, &AudioCtl::updateAudio);
    auto shows = [&](int value) { return spy.count() > 0 && spy.last().at(0).toInt() == value; };
    // Frames at 25 a second for a while.
    auto frames = [&](int ms) {
        for (int elapsed = 0; elapsed < ms; elapsed += 40) {
            audio->update();
            QTest::qWait(40);
        }
    };
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), 0) << "no picture, nothing to meter";

    // A quiet tone, 43 dB down: level 10 at once; the tick goes on with the
    // bars at rest, about every 16 ms.
    board().pl().set(AUD_AES_MAX, 233u << 16 | 233u);
    board().pl().set(AUD_FRM_CNT, 800u);
    frames(400);
    EXPECT_TRUE(shows(70));
    EXPECT_GE(spy.count(), 15);

    // No more frames: a few ticks, then rest.
    const int stopped = spy.count();
    QTest::qWait(300);
    const int rested = spy.count();
    EXPECT_LE(rested - stopped, 10);
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), rested);

    // Silence: 2 units a tick from 70 down to 6, then 0.
    board().pl().set(AUD_FRM_CNT, 0u);
    frames(800);
    EXPECT_TRUE(shows(0));

    // The picture goes: zero once, then rest.
    board().pl().set(AUD_FRM_CNT, 800u);
    frames(200);
    ASSERT_TRUE(shows(70));
    audio->setAudio(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(0); }, 2000));
    QTest::qWait(100);
    const int blanked = spy.count();
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), blanked);
    // The next frame brings the bars back.
    frames(120);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shows(70); }, 2000));
}

TEST_F(BoardTest, TimeCodeTextAndFlags)
{
    TimeCode *timeCode = TimeCode::getInstance();
    board().pl().set(TIME_CODE_INFO, 0x23595924u);
    EXPECT_TRUE(timeCode->update());
    EXPECT_FALSE(timeCode->update());
    std::string text;
    timeCode->getTimeCode(text);
    EXPECT_EQ(text, "23:59:59:24");
    // Bits outside the BCD fields do not reach the text.
    board().pl().set(TIME_CODE_INFO, 0xC0808001u | 0x10203u << 8);
    EXPECT_TRUE(timeCode->update());
    timeCode->getTimeCode(text);
    EXPECT_EQ(text, "01:02:03:01");
    board().pl().set(SDI_AUX_CTL, 0x30001000u);
    EXPECT_TRUE(timeCode->getSDIRecStatus());
    EXPECT_EQ(timeCode->getSDITimeCodeMode(), 3);
}
