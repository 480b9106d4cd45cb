#pragma once

#include "Singleton.h"

#include <condition_variable>
#include <mutex>

class PLControl;

// The three layers the logic composes: main video, assist video and the
// display plane the user interface is drawn on. The plane stays off until the
// interface has painted once, so that the panel never shows it half drawn.
class OsdCtl : public Singleton<OsdCtl>
{
    friend class Singleton<OsdCtl>;

public:
    // Starts the thread that brings the screen up once start() is called.
    void init();
    void setEnable(bool on);
    // Layer 1 is the assist layer, any other value the main layer.
    void setVideoEnable(int layer, bool on);
    // 0.1 to 1.0; values outside are held to the nearest end.
    void setOpactiy(float opacity);
    // The first paint: the layers to show with the plane.
    void start(bool mainVideo, bool assistVideo);
    void clearFrameCompareMemory();

private:
    OsdCtl();
    void showWait();
    void setBit(unsigned char bit, bool on);
    void writeVideoEnable(int layer, bool on);

    PLControl *pl;
    std::mutex mutex;
    std::condition_variable condition;
    bool threadStarted = false;
    bool started = false;
    bool mainVideo = false;
    bool assistVideo = false;
};
