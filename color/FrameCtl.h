#pragma once

#include "Singleton.h"

class PLControl;

// The register side of frame capture and compare (FRAME_CAP_CTL): arming a
// capture, freezing the picture and the compare overlay.
class FrameCtl : public Singleton<FrameCtl>
{
public:
    // Step 0 arms a capture; any other step disarms it.
    void frameSave(int step);
    void frameLutEnable(bool on);
    void frameFreeze(bool on);
    void frameOverlay(bool on);
    void framePreview(bool on);
    // Overlay opacity and split position in percent (0 to 100).
    void frameOpacity(int percent);
    void framePosition(int percent);
    void frameLoad();

    // The frame memories as the application maps them.
    void *saveAddress() const { return m_saveAddress; }
    void *loadAddress() const { return m_loadAddress; }

private:
    friend class Singleton<FrameCtl>;
    FrameCtl();

    PLControl *m_pl;
    void *m_saveAddress;
    void *m_loadAddress;
};
