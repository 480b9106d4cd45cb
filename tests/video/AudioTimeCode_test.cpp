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

// The tick runs while the bars have somewhere to go: not before a reading,
// not once both bars stand at their levels, and once more to show zero when
// the main input loses its picture.
TEST_F(BoardTest, TheMeterTicksOnlyWhileItsBarsMove)
{
    AudioCtl *audio = AudioCtl::getInstance();
    QSignalSpy spy(audio, &AudioCtl::updateAudio);
    auto shows = [&](int value) { return spy.count() > 0 && spy.last().at(0).toInt() == value; };
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), 0) << "nothing to meter";

    // A quiet tone, 43 dB down: level 10 at once, then the bars rest, also
    // while the same level keeps being read.
    board().pl().set(AUD_AES_MAX, 233u << 16 | 233u);
    board().pl().set(AUD_FRM_CNT, 800u);
    audio->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(70); }, 2000));
    audio->update();
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), 1);

    // Silence: 2 units a tick from 70 down to 6, then 0, then rest.
    board().pl().set(AUD_FRM_CNT, 0u);
    audio->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(0); }, 3000));
    const int fallen = spy.count();
    EXPECT_EQ(fallen, 1 + 33);
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), fallen);

    // The picture goes while the bars rest at the tone: zero once, then rest.
    board().pl().set(AUD_FRM_CNT, 800u);
    audio->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(70); }, 2000));
    audio->setAudio(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shows(0); }, 2000));
    const int blanked = spy.count();
    audio->setAudio(true);
    QTest::qWait(200);
    EXPECT_EQ(spy.count(), blanked);
    // The next reading brings the bars back.
    audio->update();
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
