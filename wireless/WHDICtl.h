#pragma once

#include "ChangeDebounce.h"
#include "Singleton.h"
#include "VideoInfo.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

class OutCtl;
class PLControl;
class WHDIPassword;

// The wireless input: measures its picture on the channel that shows it, works
// out scan mode and frame rate, identifies it for the SDI output, labels it,
// rate-limits change notifications per channel, mutes the output while the
// link is lost, and holds the link values the MCU reports.
class WHDICtl : public QObject, public Singleton<WHDICtl>
{
    Q_OBJECT

public:
    void setChannel(uint8_t channel);
    void setStrength(uint8_t strength);
    void setEncryption(bool on);
    void setEncryptionPassword(const std::string &password);

    void update(int channel);
    bool isActive(int channel);
    void cleanPayload();

    bool getSize(int &width, int &height, int channel) const;
    unsigned int getPayLoad() const;
    void getHDMICtl(unsigned int &horizontal, unsigned int &vertical) const;
    int sdiMode() const;
    int interlance() const;
    int getFreqCount() const;
    void getInfo(std::string &text) const;

    static bool isValidSize(int width, int height);
    static void correction(int &width, int &height);
    // The rate code of a frame rate; codes below 23.9 Hz keep previous.
    static uint8_t rateCodeOf(double rate, uint8_t previous);

signals:
    void signalUpdate(int channel);
    void signalChannel(int channel);
    void signalStrength(int strength);
    void signalMode(bool encrypted);
    void signalPassword(std::string password);

private:
    friend class Singleton<WHDICtl>;
    WHDICtl();

    struct Measurement {
        std::atomic<uint32_t> clock{0};
        std::atomic<uint32_t> width{0};
        std::atomic<uint32_t> height{0};
        std::atomic<uint32_t> totalWidth{0};
        std::atomic<uint32_t> totalHeight{0};
    };

    bool updatePayload();
    // Channel 0 (main) or 1 (assist), as the callers have checked.
    bool measure(int channel, bool payloadChanged);
    double frameRate(uint32_t clock, uint32_t totalWidth, uint32_t totalHeight, uint32_t width, uint32_t height);
    std::string rateText() const;
    bool doubledSize(int channel, int &width, int &height) const;

    static constexpr int defaultWidth = 1920;
    static constexpr int defaultHeight = 1080;

    std::atomic<uint8_t> channel{255};
    std::atomic<uint8_t> strength{255};
    std::atomic<bool> encryption{false};
    std::atomic<bool> payloadPresent{false};
    std::atomic<uint8_t> payloadByte{0};
    std::atomic<uint8_t> rateCode{0};
    // Per channel: the rate and scan mode its last measurement reported, and
    // a payload change it has not measured yet. Both channels may show the
    // wireless picture; each must hear of a change, whichever asks first.
    std::atomic<uint8_t> lastRateCode[2] = {{0}, {0}};
    std::atomic<int> lastScanMode[2] = {{0}, {0}};
    std::atomic<bool> payloadPending[2] = {{false}, {false}};
    std::atomic<bool> progressiveTransport{false};
    std::atomic<bool> progressivePicture{false};
    std::atomic<bool> signalLost{false};
    // Per channel: its question saw the link lost and has not yet seen it
    // back. Each channel clears only its own note, so that the main channel's
    // answer restores the output whichever channel is asked first.
    std::atomic<bool> lostSeen[2] = {{false}, {false}};
    std::atomic<int> payloadScan{0};
    std::atomic<int> scanMode{0};
    std::atomic<int> detectState[2] = {{0}, {0}};
    std::atomic<bool> locked[2] = {{false}, {false}};
    Measurement m_measurement[2];
    // A measurement runs on the interrupt thread, or on the user-interface
    // thread when no interrupt has refreshed it: one at a time.
    std::mutex m_measureMutex;
    ChangeDebounce m_debounce[2];

    PLControl *m_pl;
    MainVideoInfo m_mainInfo;
    AssistVideoInfo m_assistInfo;
    WHDIPassword *m_password;
    OutCtl *m_out;
};
