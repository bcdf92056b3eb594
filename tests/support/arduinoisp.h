#pragma once

// An Arduino running the ArduinoISP sketch, with an AT89S51 or AT89S52 on its SPI lines,
// behind a pseudo-terminal: what avrdude's programmer "stk500v1" talks to.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace blikon::testing {

// The chip's side of its serial programming: four bytes in, the fourth byte's answer
// out, as the data sheet's instruction table has them (byte mode; the page modes are
// not modelled and count as unexpected). A new chip holds an old program, a pattern
// other than 0xFF, so that a test sees the erase. Writing a byte clears bits only, as
// flash does until the next erase.
class At89SerialChip {
public:
    enum class Model { AT89S51, AT89S52 };

    explicit At89SerialChip(Model model);

    // Example: transfer({0xAC, 0x53, 0, 0}) answers 0x69 and enables programming.
    std::uint8_t transfer(const std::array<std::uint8_t, 4>& instruction);

    // The byte at `address` turns out wrong later: it reads right just after its
    // write (avrdude's polling sees it) and with bit 0 flipped from the next write on.
    void corruptAfterWrite(std::uint32_t address) { corruptAddress_ = address; }

    [[nodiscard]] const std::vector<std::uint8_t>& flash() const { return flash_; }
    [[nodiscard]] static std::uint8_t oldContent(std::uint32_t address) { return std::uint8_t(0xA5 ^ address); }

    int erases = 0;
    int writes = 0;
    std::vector<std::array<std::uint8_t, 4>> unexpected;  // instructions the chip does not know

private:
    [[nodiscard]] std::uint32_t address(const std::array<std::uint8_t, 4>& instruction) const;

    Model model_;
    std::vector<std::uint8_t> flash_;
    bool enabled_ = false;
    std::uint8_t lockBits_ = 0;
    std::optional<std::uint32_t> corruptAddress_;
    std::optional<std::uint32_t> pendingCorruption_;
};

// The programmer on a pseudo-terminal (posix_openpt), serving from a thread of its own
// until it is destroyed. `port()` is the terminal's name to pass to avrdude's -P.
// A programmer that does not answer reads everything and says nothing.
//
//     EmulatedArduinoIsp isp(At89SerialChip::Model::AT89S52);
//     run("avrdude", {"-c", "stk500v1", "-P", isp.port(), ...});
//     isp.chip([](const At89SerialChip& chip) { ... chip.flash() ... });
class EmulatedArduinoIsp {
public:
    explicit EmulatedArduinoIsp(At89SerialChip::Model model, bool answers = true);
    ~EmulatedArduinoIsp();
    EmulatedArduinoIsp(const EmulatedArduinoIsp&) = delete;
    EmulatedArduinoIsp& operator=(const EmulatedArduinoIsp&) = delete;

    [[nodiscard]] const std::string& port() const { return port_; }
    [[nodiscard]] bool isOpen() const { return master_ >= 0; }

    // Runs `use` on the chip while the serving thread keeps off it.
    template <typename Use>
    auto chip(Use use)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return use(chip_);
    }

    // STK500 commands the sketch does not know, by their first byte.
    [[nodiscard]] std::vector<std::uint8_t> unknownCommands();

private:
    void serve();
    [[nodiscard]] std::optional<std::uint8_t> readByte();
    [[nodiscard]] bool readBytes(std::uint8_t* into, std::size_t count);
    void send(std::initializer_list<std::uint8_t> bytes);
    void send(const std::vector<std::uint8_t>& bytes);
    void answer(std::uint8_t command);
    void reply(const std::vector<std::uint8_t>& payload);
    void programPage(std::uint16_t length, std::uint8_t memory, const std::vector<std::uint8_t>& data);
    [[nodiscard]] std::vector<std::uint8_t> readPage(std::uint16_t length, std::uint8_t memory);
    std::uint8_t spi(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4);

    int master_ = -1;
    int slave_ = -1;  // held open, so that the master reads on between avrdude's runs
    std::string port_;
    bool answers_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    At89SerialChip chip_;
    std::vector<std::uint8_t> unknown_;
    std::uint16_t wordAddress_ = 0;  // STK_LOAD_ADDRESS counts in words
    std::uint8_t deviceCode_ = 0;
    std::thread thread_;
};

}  // namespace blikon::testing
