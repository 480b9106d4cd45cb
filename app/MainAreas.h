#pragma once

// The pages of the main window's quick-menu area, in stack order.
namespace FastWidget {
enum FastWidgetIndex : int {
    FAST_FRAME = 0,
    FAST_WAVES = 1,
    FAST_PHOTO = 2,
    FAST_COLOR = 3,
    FAST_SIGNAL = 4,
    FAST_SELECT = 5,
    FAST_RGB_ADJUST = 6,
};
}

// The pages of the main window's message area, in stack order.
namespace MsgWidget {
enum MSGWidgetIndex : int {
    MSG_FRAME_SUCCESS = 0,
    MSG_FRAME_FAIL = 1,
    MSG_PRE_CONFIG = 2,
    MSG_RESET_SYSTEM = 3,
    MSG_ANTENNA_EXTERNAL = 4,
    MSG_TIME_SETTING = 5,
    MSG_IMPORT_LUT_SUCCESS = 6,
    MSG_IMPORT_LUT_FAILED = 7,
    MSG_ERASE_LUT_SUCCESS = 8,
    MSG_LUT_CONTRAST = 9,
    MSG_SCAN_PROGRESS = 10,
};
}
