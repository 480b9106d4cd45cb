#pragma once

#include "InterruptsCtl.h"
#include "Singleton.h"

#include <QObject>
#include <atomic>

class PLControl;

// The three front keys. A click emits the function the user assigned to the
// key, a long press the key's number; F1+F3 held together tells the MCU. The
// events come from the dispatcher's key thread, so receivers on the
// user-interface thread get them queued. During an MCU firmware update the
// logic's key line is pulsed from here.
class KeyCtl : public QObject, public Singleton<KeyCtl>
{
    Q_OBJECT
    friend class Singleton<KeyCtl>;

public:
    enum KeyType : int {
        F1 = 0,
        F2 = 1,
        F3 = 2,
    };

    // The assignable functions, stored in "functionF1" to "functionF3".
    enum KeyValue : int {
        FUNC_OFF = 0,
        FUNC_SCREENSHOT = 1,
        FUNC_SCREENSHOT_COMPARE = 2,
        FUNC_HISTOGRAM = 3,
        FUNC_WAVEFORM = 4,
        FUNC_RGB_WAVEFORM = 5,
        FUNC_VECTORSCOPE = 6,
        FUNC_MARKER = 7,
        FUNC_FOCUS_PEAKING = 8,
        FUNC_ZEBRA = 9,
        FUNC_FALSE_COLOR = 10,
        FUNC_MONO = 11,
        FUNC_ZOOM = 12,
        FUNC_ANAMORPHIC = 13,
        FUNC_SAFE_FRAME = 14,
        FUNC_LUT = 15,
        FUNC_LUT_COMPARE = 16,
        FUNC_GAMMA = 18,
        FUNC_LIGHT_METER = 19,
        FUNC_PIP = 20,
        FUNC_FREEZE = 21,
        FUNC_SWAP_AB = 22,
        FUNC_WIRELESS_MODE = 23,
        FUNC_SCAN_MODE = 24,
        FUNC_MAX_BRIGHTNESS = 25,
    };

    void registerFunction(KeyType type, KeyValue value);
    // While disabled every key event is ignored (F2+F3 belongs to the main window).
    void disableKey(bool disable);

    void interruptsHandleKeyF1(InterruptsCtl::KeyHandle handle, int value);
    void interruptsHandleKeyF2(InterruptsCtl::KeyHandle handle, int value);
    void interruptsHandleKeyF3(InterruptsCtl::KeyHandle handle, int value);
    void interruptsHandleKeyF1F3(InterruptsCtl::KeyHandle handle, int value);

    // The key-line pulse of the MCU firmware update: line 3 off, then a
    // 400 ms square wave on the key line until stopped.
    void closeKeyF3Interrupts();
    void startPressKeyF3();
    void stopPressKeyF3();

signals:
    void clicked(int value);
    void longClicked(int key);
    void swapMainAndAssistSrc();

private:
    KeyCtl();
    void keyEvent(KeyType type, InterruptsCtl::KeyHandle handle);
    void changeInitControl(unsigned int setMask, unsigned int clearMask);

    PLControl *pl;
    std::atomic<int> functions[3] = {{FUNC_OFF}, {FUNC_OFF}, {FUNC_OFF}};
    std::atomic<bool> disabled{false};
    std::atomic<bool> pressing{false};
    InterruptsCtl *interrupts;
};
