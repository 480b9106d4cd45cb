#include "System.h"

#include "Console.h"

#include <atomic>
#include <cerrno>

namespace {

// Stands in before an implementation is installed: nothing happens, loudly.
class RefusingSystem : public hw::System
{
public:
    void restart() override { console::error("no system installed, restart refused\n"); }
    bool setClock(const struct timeval &) override
    {
        console::error("no system installed, clock change refused\n");
        return false;
    }
    int spiIoctl(int, unsigned long, void *) override
    {
        errno = ENODEV;
        return -1;
    }
};

RefusingSystem refusingSystem;
std::atomic<hw::System *> installed{&refusingSystem};

} // namespace

namespace hw {

void installSystem(System *system)
{
    installed.store(system != nullptr ? system : &refusingSystem);
}

System &system()
{
    return *installed.load();
}

} // namespace hw
