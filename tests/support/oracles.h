#pragma once

// The two outside programs the tests hold Blikon's 8051 output against: the as31
// assembler and the s51 simulator of ucsim (Debian packages as31 and sdcc-ucsim).
// Each runner gives nothing when its program is not installed, so that a test can say
// it skipped. Linux only: they run the programs through the shell.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace blikon::testing {

// Blikon's program text in as31's dialect. Blikon writes the generic "Call", "jmp" and
// "End"; as31 knows them as "lcall", "ljmp" and ".end". Only the word in instruction
// position is changed (after an optional "label:"), whatever its case; "ljmp", "sjmp",
// "jmp @A+DPTR", labels, operands and comments stay as they are. as31 also refuses a last line without
// a line end, so one is added where missing.
// toAs31Dialect("Hop: Call X\r\n  jmp fce1\r\n  End") == "Hop: lcall X\r\n  ljmp fce1\r\n  .end\r\n"
[[nodiscard]] std::string toAs31Dialect(std::string_view program);

struct As31Result {
    int exitStatus = -1;
    std::string messages;             // what as31 printed, without its "Begin Pass" lines
    std::string hex;                  // the Intel HEX output
    std::string listing;              // the listing (-l)
    std::vector<std::uint8_t> image;  // code bytes from address 0; gaps read 0xFF

    // Assembled with no warning and no error.
    [[nodiscard]] bool clean() const { return exitStatus == 0 && messages.empty() && !hex.empty(); }
};

// Assembles `source` (as31's dialect) with as31 in a fresh temporary folder. Nothing when
// as31 is not installed; a failure to run it shows as exitStatus -1 and a message.
// assembleWithAs31("mov A,#1\n.end\n")->image == {0x74, 0x01}
[[nodiscard]] std::optional<As31Result> assembleWithAs31(std::string_view source);

// The address of a label in an as31 listing: for the line "006C: 75 89 02   P10MS:  mov ..."
// listingAddress(listing, "P10MS") == 0x6C. Nothing when no line defines the label.
[[nodiscard]] std::optional<int> listingAddress(std::string_view listing, std::string_view label);

struct S51Result {
    int exitStatus = -1;
    bool timedOut = false;
    std::string output;  // everything s51 printed, standard output and errors together
};

// Runs s51 as an 8051 (or the chip `cpu` names, as "-t" takes it: "8052") on the Intel
// HEX `hex`, feeding it `commands` one a line and then "quit", and ends it after
// `timeoutSeconds`. Nothing when s51 is not installed.
// runS51(hex, {"break 0x6c", "run", "get sfr 0x90"}, 10)->output holds the stop and P1.
[[nodiscard]] std::optional<S51Result> runS51(std::string_view hex, const std::vector<std::string>& commands,
                                              int timeoutSeconds, std::string_view cpu = "8051");

// One stop of the simulation in s51's output: where and why it stopped, and the SFRs
// that "get sfr" commands printed before the next stop, by address.
struct S51Stop {
    int pc = -1;
    std::string reason;  // "Breakpoint", ...
    std::map<int, int> sfr;
};

// The stops in s51's output, in order. After "Stop at 0x00006c: (104) Breakpoint" and
// "0x90 P1:   0b00100000 0x20 ' '  32" there is one stop {0x6C, "Breakpoint", {{0x90, 0x20}}}.
[[nodiscard]] std::vector<S51Stop> parseS51Stops(std::string_view output);

// The CPU after one "step" command, with what the commands after it printed up to the
// next step: the register block of the step itself, the clock count of "timer get", and
// the bytes of "dump /h iram ..." and "dump /h sfr ..." (rows of 16 bytes) by address.
struct S51Step {
    int pc = -1;
    std::array<int, 8> r{-1, -1, -1, -1, -1, -1, -1, -1};  // of the selected bank
    int a = -1, b = -1, psw = -1, sp = -1, dptr = -1;
    std::int64_t clocks = -1;  // oscillator periods since reset, 12 a machine cycle
    std::map<int, int> iram;
    std::map<int, int> sfr;
};

// The steps in s51's output, in order.
// After "Stop at 0x000002: (109) stepped 12 ticks", its register block and
// "timer #1(\"time\") ON 0.000001 sec (12 clks)" there is one step with pc 2, clocks 12.
[[nodiscard]] std::vector<S51Step> parseS51Steps(std::string_view output);

}  // namespace blikon::testing
