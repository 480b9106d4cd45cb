#pragma once

#include <cstdint>

// The link to the MCU as the rest of the system sees it: a handful of calls
// that own the serial port, the frame protocol and their threads. Values sent
// before the MCU has first spoken are held back and sent, in call order, once
// the link works.

// Opens the port and starts the link threads; later calls do nothing.
void UartInit();

// Sends one value frame (command, 1..64 data bytes). Returns 1 when it went to
// the protocol, 0 when it was held back.
int UartSendValue(uint8_t command, const uint8_t *data, uint8_t length);

// Raw bytes on the port, no framing (the firmware updater's path).
void UartWrite(const uint8_t *data, int length);

// Whether the wireless input is in use on a channel (0 main, 1 assist).
void UartSetWHDIStatus(int index, bool used);

// Hands the port's incoming bytes to the firmware updater.
void UartEnterMcuUpgradeMode();

// Starts the firmware update with the progress callback (percent, negative on
// failure); apply: the MCU already waits in its boot loader.
bool UartUpdateMcu(void (*progress)(int percent), bool apply);
