#pragma once

#include "ChangeDebounce.h"
#include "InterruptsCtl.h"
#include "Singleton.h"
#include "Video.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <string>

class PLControl;

// The SDI receiver: turns its information word and the ST 352 payload into the
// video vocabulary, a frame size and the format text shown to the user;
// notifies format changes (at most one per 750 ms, none lost) and resets the
// receiver when the carrier returns.
class SDICtl : public QObject, public Singleton<SDICtl>
{
    Q_OBJECT

public:
    // Key and text records of the format tables.
    struct Table {
        uint8_t key;
        char text[29];
    };
    static_assert(sizeof(Table) == 30, "a record is a one-byte key and a 29-byte text");

    void carrierDetect(InterruptsCtl::KeyHandle, int);
    void update(int channel);
    // Reads the receiver: true when the format changed and the input is active.
    bool parase();
    bool isActive();

    bool getInfo(std::string &text) const;
    bool getSize(int &width, int &height) const;
    static bool isValidSize(int width, int height);
    unsigned int getPayLoad() const;

    Video::InterlaceMode interlance() const;
    Video::Sampling sampling() const;
    Video::PixFormat pixFormat() const;
    Video::Level level() const;
    Video::BitDepth depth() const;
    Video::SDIMode sdiMode() const;

signals:
    void updateVideoFormat(int channel);

private:
    friend class Singleton<SDICtl>;
    SDICtl();

    void forget();
    void decodePayload();
    bool isLevelB422Ten() const;

    PLControl *m_pl;
    InterruptsCtl *m_interrupts;

    std::atomic<bool> progressiveTransport{false};
    std::atomic<bool> progressivePicture{false};
    std::atomic<uint8_t> rateCode{0};
    std::atomic<uint8_t> samplingCode{0};
    std::atomic<uint8_t> depthCode{0};
    std::atomic<uint8_t> family{0};
    std::atomic<bool> payloadValid{false};
    std::atomic<bool> familyValid{false};
    std::atomic<uint8_t> mode{0};
    std::atomic<bool> levelB{false};
    std::atomic<uint8_t> displayRateCode{0};
    uint32_t lastInfo = 0xFFFFFFFFu;
    uint32_t info = 0;
    uint32_t payload = 0;
    uint32_t lastPayload = 0xFFFFFFFFu;
    std::atomic<uint32_t> rawPayload{0};
    std::atomic<bool> carrierLost{false};
    std::atomic<bool> active{false};
    uint32_t lastMeasured[2] = {0, 0};
    std::atomic<int> measuredWidth{0};
    std::atomic<int> measuredHeight{0};
    ChangeDebounce m_debounce;
};
