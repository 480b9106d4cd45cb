#pragma once

#include "Singleton.h"

class PLControl;

// The logic's side of the wireless link password (WHDI_ENCRYP_CTRL): the
// encryption switch, the picture's frame count per second and six digits.
class WHDIPassword : public Singleton<WHDIPassword>
{
public:
    void passwordEnable(bool on);
    // Frames per second, 0 to 127.
    void setErrorFrameCount(int count);
    // Six digits, each 0 to 9; false (nothing written) for anything else.
    bool setPassword(const int digits[6]);

private:
    friend class Singleton<WHDIPassword>;
    WHDIPassword();

    PLControl *m_pl;
};
