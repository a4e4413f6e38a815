// make-configs DIRECTORY: writes the configuration files the installation ships
// ("con0.pcf" and one per row of the resolution table) into DIRECTORY, with the program's
// own builder. `make configs` runs it on resources/Config/.

#include <cstdio>
#include <string>

#include "catalogue/shipped_configurations.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-configs DIRECTORY\n");
        return 2;
    }
    std::string error;
    if (!pc::WriteShippedConfigurations(argv[1], error)) {
        std::fprintf(stderr, "make-configs: %s\n", error.c_str());
        return 1;
    }
    for (const pc::ShippedConfigurationFile& file : pc::ShippedConfigurationFiles())
        std::printf("%s\n", file.name.c_str());
    return 0;
}
