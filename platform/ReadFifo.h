#pragma once

#include "Fifo.h"

// The service command pipe: a technician (or a script) writes one command line
// into it, for example "fan high", and it is carried out on the pipe's thread.
class ReadFifo : public Fifo
{
public:
    explicit ReadFifo(const std::string &path);
    ~ReadFifo() override;

    void help() override;
    bool readAction(char *text, int length) override;

private:
    bool parseCmd(const char *text);
    void actionCmd(const char *name, const char *argument);

    // The last read filled the buffer in the middle of a line: what follows of
    // that line is no command.
    bool lineOpen = false;
};

// Creates the service command pipe "/tmp/control" once; later calls do nothing.
void FifoInit();
