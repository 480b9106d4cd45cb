#pragma once

#include "PLControl.h"
#include "Singleton.h"

// The logic's 3x3 convolution block, shared by picture sharpening and focus
// peaking. Peaking takes precedence: while it is on, sharpening changes only
// its flag; when it goes off, sharpening (if on) gets the block back.
class FocusCtl : public Singleton<FocusCtl>
{
    friend class Singleton<FocusCtl>;

public:
    // Sharpening gain, 0-100 giving 0-1536.
    void sharpSetValue(int value);
    void sharpEnable(bool on);
    void focusEnable(bool on);
    // Takes effect at once only while peaking is on; kept for the next
    // focusEnable(true) otherwise.
    void focusThreshold(int threshold);
    // 8-bit components, each written as a 10-bit value x 4.
    void focusColor(unsigned short first, unsigned short second, unsigned short third);

    // The peaking colour of the setting "photoFocusColor": 1 red, 2 green,
    // 3 blue, 4 yellow, 5 cyan, 6 magenta, 7 white, anything else black.
    void focusColorIndex(int index);
    // Peaking sensitivity in percent as a threshold: 100 % gives 8, the most
    // sensitive, 0 % gives 308.
    static int sensitivityToThreshold(int percent);

    void sharpFactoyLoad();
    void focusFactorLoad();

private:
    FocusCtl();

    PLControl &pl;
    int kernel[9];
    bool focusOn = false;
    bool sharpOn = false;
    int threshold = 0;
};
