// The emulated Arduino-as-ISP as a program of its own, for trying an avrdude by hand or
// from a script (the Windows avrdude under Wine): it prints the pseudo-terminal's name,
// serves until its standard input ends, then writes the flash to FILE and prints what
// the chip saw.
//
//     arduinoisp_emulator [--at89s51] [--silent] [--corrupt ADDRESS] [--flash FILE]

#include "arduinoisp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

using blikon::testing::At89SerialChip;
using blikon::testing::EmulatedArduinoIsp;

int main(int argc, char** argv)
{
    At89SerialChip::Model model = At89SerialChip::Model::AT89S52;
    bool answers = true;
    long corrupt = -1;
    std::string flashFile;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--at89s51")
            model = At89SerialChip::Model::AT89S51;
        else if (option == "--silent")
            answers = false;
        else if (option == "--corrupt" && i + 1 < argc)
            corrupt = std::strtol(argv[++i], nullptr, 0);
        else if (option == "--flash" && i + 1 < argc)
            flashFile = argv[++i];
        else {
            std::fprintf(stderr, "usage: %s [--at89s51] [--silent] [--corrupt ADDRESS] [--flash FILE]\n", argv[0]);
            return 2;
        }
    }
    EmulatedArduinoIsp isp(model, answers);
    if (!isp.isOpen()) {
        std::perror("posix_openpt");
        return 1;
    }
    if (corrupt >= 0)
        isp.chip([corrupt](At89SerialChip& chip) { chip.corruptAfterWrite(std::uint32_t(corrupt)); });
    std::printf("%s\n", isp.port().c_str());
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    return isp.chip([&flashFile](const At89SerialChip& chip) {
        std::printf("erases %d writes %d unexpected %zu\n", chip.erases, chip.writes, chip.unexpected.size());
        if (flashFile.empty())
            return 0;
        FILE* out = std::fopen(flashFile.c_str(), "wb");
        const bool written = out && std::fwrite(chip.flash().data(), 1, chip.flash().size(), out) == chip.flash().size();
        return (out && std::fclose(out) == 0 && written) ? 0 : 1;
    });
}
