// The input decoders on whatever the receivers' registers hold: the SDI
// information word and payload, the measured timing of both channels, the
// wireless payload, the audio peaks and the timecode, refreshed as the video
// interrupt refreshes them, then every fact, text and word the channel update
// and the output take from them. The first byte picks the inputs of the two
// channels; each following record of twelve words is one interrupt. (The MCU's
// reports of the HDMI receiver are fuzzed with the rest of the receive path.)

#include "AudioCtl.h"
#include "FuzzBoard.h"
#include "HDMICtl.h"
#include "SDICtl.h"
#include "TimeCode.h"
#include "VideoOption.h"
#include "WHDICtl.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

sim::VirtualBoard *board = nullptr;

const FunctionTypeIndex receiverRegisters[] = {
    SDI_IN_INFO,      SDI_ST352_PL0,    MAIN_VID_INFO0, MAIN_VID_INFO1, MAIN_VID_INFO2, ASSIST_VID_INFO0,
    ASSIST_VID_INFO1, ASSIST_VID_INFO2, WHDI_ST352_PL,  AUD_FRM_CNT,    AUD_AES_MAX,    TIME_CODE_INFO,
};
constexpr size_t recordWords = sizeof(receiverRegisters) / sizeof(receiverRegisters[0]);

const char *const inputs[] = {"SDI", "HDMI", "WHDI", "none"};

// Everything the main window and the output read from the decoders.
void readBack()
{
    std::string text;
    int width = 0;
    int height = 0;
    unsigned int horizontal = 0;
    unsigned int vertical = 0;

    SDICtl *sdi = SDICtl::getInstance();
    sdi->isActive();
    sdi->getInfo(text);
    sdi->getSize(width, height);
    sdi->getPayLoad();
    sdi->interlance();
    sdi->sampling();
    sdi->pixFormat();
    sdi->level();
    sdi->depth();
    sdi->sdiMode();

    HDMICtl *hdmi = HDMICtl::getInstance();
    for (int channel = 0; channel < 3; ++channel)
        hdmi->isActive(channel);
    hdmi->getSize(width, height);
    hdmi->getInfo(text);
    hdmi->getPayLoad();
    hdmi->getHDMICtl(horizontal, vertical);
    hdmi->interlance();
    hdmi->pixFormat();
    hdmi->sdiMode();

    WHDICtl *whdi = WHDICtl::getInstance();
    for (int channel = 0; channel < 2; ++channel) {
        whdi->isActive(channel);
        whdi->getSize(width, height, channel);
    }
    whdi->getInfo(text);
    whdi->getPayLoad();
    whdi->getHDMICtl(horizontal, vertical);
    whdi->sdiMode();
    whdi->interlance();
    whdi->getFreqCount();

    TimeCode *timeCode = TimeCode::getInstance();
    if (timeCode->update())
        timeCode->getTimeCode(text);
    AudioCtl::getInstance()->slotAudioUp();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    board = startFuzzBoard();
    if (board == nullptr)
        return 1;
    VideoOption::getInstance();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    VideoOption *video = VideoOption::getInstance();
    video->setInput(VideoOption::MAIN_CHANNEL, inputs[data[0] & 3]);
    video->setInput(VideoOption::ASSIST_CHANNEL, inputs[(data[0] >> 2) & 3]);
    for (size_t offset = 1; offset + 4 * recordWords <= size; offset += 4 * recordWords) {
        uint32_t words[recordWords];
        std::memcpy(words, data + offset, sizeof(words));
        for (size_t i = 0; i < recordWords; ++i)
            board->pl().set(receiverRegisters[i], words[i]);
        video->interruptsHandle(InterruptsCtl::KEY_CLICKED, 0);
        readBack();
    }
    return 0;
}
