// Saves the settings file of the current directory over and over, each time
// with a new generation of values, until it is killed: the other side of the
// power-cut test. Generation g sets every int key to g, every bool key to
// (g is odd) and every string key to g in decimal. Prints "ready" once the
// store is initialised.
#include "AppConfig.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FIRST_GENERATION\n", argv[0]);
        return 2;
    }
    long generation = std::strtol(argv[1], nullptr, 10);

    AppConfig *config = AppConfig::getInstance();
    config->init("config.ini");
    std::printf("ready\n");
    std::fflush(stdout);

    size_t count = 0;
    const AppConfig::Record *table = AppConfig::defaults(count);
    for (;; ++generation) {
        const std::string text = std::to_string(generation);
        for (size_t i = 0; i < count; ++i) {
            const char *key = table[i].name;
            switch (table[i].type) {
            case AppConfig::TypeBool:
                config->setValue(key, generation % 2 != 0);
                break;
            case AppConfig::TypeInt:
                config->setValue(key, static_cast<int>(generation));
                break;
            case AppConfig::TypeDouble:
                config->setValue(key, static_cast<double>(generation));
                break;
            case AppConfig::TypeString:
                config->setValue(key, text);
                break;
            }
        }
        if (!config->save())
            return 1;
    }
}
