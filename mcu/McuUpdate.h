#pragma once

#include <cstdint>

// Replacing the MCU firmware over the serial line. The running MCU firmware is
// asked to enter its boot loader; then the boot loader's own block protocol
// runs: connect, erase, announce the file size, and the file in blocks of up to
// 1024 bytes, each acknowledged. Two threads do the work: one drains the
// transmit ring to the line, the other runs the procedure.
//
// Boot-loader frame, both directions: 0xAA 0xBB command length(16 bits,
// big-endian) data... checksum, the checksum being the XOR of every byte
// before it.

// A byte ring. One slot always stays free, so a ring of size n holds n - 1
// bytes; indices advance before use.
struct fifobyte_t {
    uint16_t size;
    uint16_t write;
    uint16_t read;
    uint8_t *buffer;
};

bool Init_FifoByte(fifobyte_t *fifo, uint16_t size);
bool Write_FifoByte(fifobyte_t *fifo, uint8_t byte);
bool Read_FifoByte(fifobyte_t *fifo, uint8_t *byte);
uint16_t Get_FifoByteLen(const fifobyte_t *fifo);

using McuByteWriter = void (*)(const uint8_t *data, int length);
// Progress in percent; -1 when attempts keep failing, -2 while a block is not
// acknowledged for too long.
using McuProgressCallback = void (*)(int percent);

// Only the first call counts: stores the writer and the progress callback and
// allocates the transmit ring.
void McuUpdateInit(McuByteWriter writer, McuProgressCallback progress);
// Starts the update once per process; apply: the MCU already waits in its boot
// loader. False when nothing was started.
bool McuUpdateStart(bool apply);
// The MCU confirmed its update mode.
void McuUpgradeEnter();
// Every byte the MCU sends while the update runs.
void McuUpdateParse(uint8_t byte);
