#pragma once

#include <cstddef>
#include <cstdint>

// Identifiers of the programmable logic's registers; each is also the name of
// its window.
enum FunctionTypeIndex {
    FPGA_VER_NUM = 0,
    FPGA_INIT_CTL = 1,
    BL_PWM_DUTY = 2,
    MAIN_CH_CTL = 3,
    ASSIST_CH_CTL = 4,
    SDI_OUT_CTRL = 5,
    SDI_IN_INFO = 6,
    SDI_ST352_PL0 = 7,
    SDI_ST352_PL1 = 8,
    WHDI_ST352_PL = 9,
    SDI_AUX_CTL = 10,
    LIGHT_METER_CTL = 11,
    LIGHT_METER_INFO = 12,
    FRAME_CAP_CTL = 13,
    TIME_CODE_INFO = 14,
    SDIOUT_ST352_PL = 15,
    HDMI_HOR_CTL = 16,
    HDMI_VER_CTL = 17,
    ZEBRA_LINE_CTL = 18,
    ZEBRA_COLOR_SET = 19,
    FALSE_COLOR_CTL = 20,
    VID_DENOISY_CTL = 21,
    VID_SCOPE_CTL = 22,
    VID_SCOPE_DISP1 = 23,
    VID_SCOPE_DISP2 = 24,
    CSC_MATRIX_CTL = 25,
    CSC_MATRIX_VAL0 = 26,
    CSC_MATRIX_VAL1 = 27,
    CSC_MATRIX_VAL2 = 28,
    CSC_MATRIX_VAL3 = 29,
    CSC_MATRIX_VAL4 = 30,
    CSC_MATRIX_VAL5 = 31,
    CSC_MATRIX_VAL6 = 32,
    VID_GAMMA_CTL = 33,
    VID_3DLUT_CTL = 34,
    CALI_GAMMA_CTL = 35,
    CALI_3DLUT_CTL = 36,
    MAIN_RESIZE_CTL = 37,
    MAIN_RESIZE_VAL = 38,
    RIGHT_SIDE_POS = 39,
    ASSIST_RESIZE_CTL = 40,
    ASSIST_ZOOM_OUT = 41,
    ASSIST_ZOOM_IN = 42,
    SHARP_CONV_CTL = 43,
    SHARP_CONV_A00 = 44,
    SHARP_CONV_A01 = 45,
    SHARP_CONV_A02 = 46,
    SHARP_CONV_A10 = 47,
    SHARP_CONV_A11 = 48,
    SHARP_CONV_A12 = 49,
    SHARP_CONV_A20 = 50,
    SHARP_CONV_A21 = 51,
    SHARP_CONV_A22 = 52,
    FOCUS_ASSIST_CTL = 53,
    OSD_CTL = 54,
    LEFT_HOR_SET = 55,
    LEFT_VER_SET = 56,
    RIGHT_HOR_SET = 57,
    RIGHT_VER_SET = 58,
    AUD_FRM_CNT = 59,
    AUD_AES_MAX = 60,
    AUD_AES_RIGHT = 61,
    AUD_AES_LEFT = 62,
    MAIN_VID_INFO0 = 63,
    MAIN_VID_INFO1 = 64,
    MAIN_VID_INFO2 = 65,
    ASSIST_VID_INFO0 = 66,
    ASSIST_VID_INFO1 = 67,
    ASSIST_VID_INFO2 = 68,
    WHDI_ENCRYP_CTRL = 69,
    DISP_FLIP_CONTROL = 72,
    TOUCHEVENT_ROTATE = 73,
    RESET_SYSTEM = 74,
};

// One record of the register table, the single description of the register
// map that both the application and the virtual board's logic model use.
struct PLRegisterRecord {
    int32_t identifier;
    uint8_t enabled;
    char name[47];
    uint32_t physicalAddress;
};

extern PLRegisterRecord plRegisterTable[];
extern const size_t plRegisterCount;

// The record of an identifier, or null.
const PLRegisterRecord *plRegister(FunctionTypeIndex identifier);
