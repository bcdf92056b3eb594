#include "arduinoisp.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace blikon::testing {

namespace {

// The STK500 version 1 bytes that avrdude and the sketch exchange.
constexpr std::uint8_t kOk = 0x10;
constexpr std::uint8_t kUnknown = 0x12;
constexpr std::uint8_t kInSync = 0x14;
constexpr std::uint8_t kNoSync = 0x15;
constexpr std::uint8_t kEop = 0x20;

enum Command : std::uint8_t {
    GetSync = 0x30,
    GetSignOn = 0x31,
    SetParameter = 0x40,
    GetParameter = 0x41,
    SetDevice = 0x42,
    SetDeviceExt = 0x45,
    EnterProgmode = 0x50,
    LeaveProgmode = 0x51,
    ChipErase = 0x52,
    CheckAutoinc = 0x53,
    LoadAddress = 0x55,
    Universal = 0x56,
    ProgPage = 0x64,
    ReadPage = 0x74,
    ReadSign = 0x75,
};

constexpr std::size_t kSetDeviceBytes = 20;
constexpr std::size_t kSetDeviceExtBytes = 5;  // what the sketch reads, whatever avrdude sends
constexpr int kPollMs = 20;

}  // namespace

// --- the chip -------------------------------------------------------------------------

At89SerialChip::At89SerialChip(Model model)
    : model_(model)
    , flash_(model == Model::AT89S52 ? 8192 : 4096)
{
    for (std::uint32_t a = 0; a < flash_.size(); ++a)
        flash_[a] = oldContent(a);
}

std::uint32_t At89SerialChip::address(const std::array<std::uint8_t, 4>& instruction) const
{
    // A12..A8 in the second byte, A7..A0 in the third; the AT89S51 has no A12.
    return ((std::uint32_t(instruction[1]) << 8) | instruction[2]) & std::uint32_t(flash_.size() - 1);
}

std::uint8_t At89SerialChip::transfer(const std::array<std::uint8_t, 4>& instruction)
{
    const auto [b1, b2, b3, b4] = instruction;
    if (b1 == 0xAC && b2 == 0x53) {
        enabled_ = true;
        return 0x69;
    }
    if (!enabled_)
        return 0x00;
    if (b1 == 0xAC && (b2 & 0xE0) == 0x80) {
        std::fill(flash_.begin(), flash_.end(), 0xFF);
        lockBits_ = 0;
        pendingCorruption_.reset();
        ++erases;
        return 0x00;
    }
    if (b1 == 0xAC && (b2 & 0xFC) == 0xE0) {
        lockBits_ |= std::uint8_t(b2 & 0x03);
        return 0x00;
    }
    switch (b1) {
    case 0x20:
        return flash_[address(instruction)];
    case 0x40: {
        if (pendingCorruption_) {
            flash_[*pendingCorruption_] ^= 0x01;
            pendingCorruption_.reset();
        }
        const std::uint32_t at = address(instruction);
        flash_[at] &= b4;
        ++writes;
        if (corruptAddress_ == at)
            pendingCorruption_ = at;
        return 0x00;
    }
    case 0x24:
        return std::uint8_t(lockBits_ << 2);
    case 0x28: {
        const std::array<std::uint8_t, 3> signature{0x1E, model_ == Model::AT89S52 ? std::uint8_t(0x52) : std::uint8_t(0x51),
                                                    0x06};
        const unsigned index = b2 & 0x1F;
        return index < signature.size() && (b3 & 0x01) == 0 ? signature[index] : 0xFF;
    }
    default:
        unexpected.push_back(instruction);
        return 0x00;
    }
}

// --- the programmer -------------------------------------------------------------------

EmulatedArduinoIsp::EmulatedArduinoIsp(At89SerialChip::Model model, bool answers)
    : answers_(answers)
    , chip_(model)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
        return;
    }
    port_ = ::ptsname(master_);
    slave_ = ::open(port_.c_str(), O_RDWR | O_NOCTTY);
    termios raw{};
    if (slave_ >= 0 && ::tcgetattr(slave_, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
    }
    thread_ = std::thread([this] { serve(); });
}

EmulatedArduinoIsp::~EmulatedArduinoIsp()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

std::vector<std::uint8_t> EmulatedArduinoIsp::unknownCommands()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return unknown_;
}

std::optional<std::uint8_t> EmulatedArduinoIsp::readByte()
{
    while (!stop_) {
        pollfd ready{master_, POLLIN, 0};
        if (::poll(&ready, 1, kPollMs) <= 0 || (ready.revents & POLLIN) == 0)
            continue;
        std::uint8_t byte = 0;
        if (::read(master_, &byte, 1) == 1)
            return byte;
    }
    return std::nullopt;
}

bool EmulatedArduinoIsp::readBytes(std::uint8_t* into, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::optional<std::uint8_t> byte = readByte();
        if (!byte)
            return false;
        into[i] = *byte;
    }
    return true;
}

void EmulatedArduinoIsp::send(const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
        done += n > 0 ? std::size_t(n) : 0;
    }
}

void EmulatedArduinoIsp::send(std::initializer_list<std::uint8_t> bytes) { send(std::vector<std::uint8_t>(bytes)); }

// The sketch answers a command whose end mark is missing with "no sync", and with the
// payload between "in sync" and "OK" otherwise.
void EmulatedArduinoIsp::reply(const std::vector<std::uint8_t>& payload)
{
    const std::optional<std::uint8_t> end = readByte();
    if (end != kEop) {
        send({kNoSync});
        return;
    }
    std::vector<std::uint8_t> bytes{kInSync};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    bytes.push_back(kOk);
    send(bytes);
}

std::uint8_t EmulatedArduinoIsp::spi(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return chip_.transfer({b1, b2, b3, b4});
}

// The sketch's page commands speak the AVR's instructions (words, load and commit), so
// on an AT89 they write and read the wrong bytes: a part that made avrdude use them
// fails here as it would on the real programmer.
void EmulatedArduinoIsp::programPage(std::uint16_t length, std::uint8_t memory, const std::vector<std::uint8_t>& data)
{
    if (memory != 'F')
        return;
    std::uint16_t page = wordAddress_;
    for (std::uint16_t i = 0; i + 1 < length; i += 2) {
        spi(0x40, std::uint8_t(wordAddress_ >> 8), std::uint8_t(wordAddress_), data[i]);
        spi(0x48, std::uint8_t(wordAddress_ >> 8), std::uint8_t(wordAddress_), data[i + 1]);
        ++wordAddress_;
    }
    spi(0x4C, std::uint8_t(page >> 8), std::uint8_t(page), 0);
}

std::vector<std::uint8_t> EmulatedArduinoIsp::readPage(std::uint16_t length, std::uint8_t memory)
{
    std::vector<std::uint8_t> data;
    for (std::uint16_t i = 0; memory == 'F' && i + 1 < length; i += 2) {
        data.push_back(spi(0x20, std::uint8_t(wordAddress_ >> 8), std::uint8_t(wordAddress_), 0));
        data.push_back(spi(0x28, std::uint8_t(wordAddress_ >> 8), std::uint8_t(wordAddress_), 0));
        ++wordAddress_;
    }
    data.resize(length, 0xFF);
    return data;
}

void EmulatedArduinoIsp::answer(std::uint8_t command)
{
    std::array<std::uint8_t, 64> args{};
    switch (command) {
    case GetSync:
        return reply({});
    case GetSignOn:
        return reply({'A', 'V', 'R', ' ', 'I', 'S', 'P'});
    case GetParameter:
        if (!readBytes(args.data(), 1))
            return;
        return reply({args[0] == 0x80 ? std::uint8_t(2) : args[0] == 0x81 ? std::uint8_t(1)
                      : args[0] == 0x82 ? std::uint8_t(18) : args[0] == 0x93 ? std::uint8_t('S') : std::uint8_t(0)});
    case SetParameter:
        if (!readBytes(args.data(), 2))
            return;
        return reply({});
    case SetDevice:
        if (!readBytes(args.data(), kSetDeviceBytes))
            return;
        deviceCode_ = args[0];
        return reply({});
    case SetDeviceExt:
        if (!readBytes(args.data(), kSetDeviceExtBytes))
            return;
        return reply({});
    case EnterProgmode:
        // From device code 0xE0 on the sketch holds RST high, which puts an AT89 into
        // its programming state; below it drives RST low, which leaves an AT89 running.
        if (deviceCode_ >= 0xE0)
            spi(0xAC, 0x53, 0x00, 0x00);
        return reply({});
    case LeaveProgmode:
    case ChipErase:  // the sketch leaves erasing to the universal command
    case CheckAutoinc:
        return reply({});
    case LoadAddress:
        if (!readBytes(args.data(), 2))
            return;
        wordAddress_ = std::uint16_t(args[0] | (args[1] << 8));
        return reply({});
    case Universal:
        if (!readBytes(args.data(), 4))
            return;
        return reply({spi(args[0], args[1], args[2], args[3])});
    case ProgPage: {
        if (!readBytes(args.data(), 3))
            return;
        const std::uint16_t length = std::uint16_t((args[0] << 8) | args[1]);
        std::vector<std::uint8_t> data(length);
        if (!readBytes(data.data(), length))
            return;
        programPage(length, args[2], data);
        return reply({});
    }
    case ReadPage: {
        if (!readBytes(args.data(), 3))
            return;
        return reply(readPage(std::uint16_t((args[0] << 8) | args[1]), args[2]));
    }
    case ReadSign:
        return reply({spi(0x30, 0x00, 0x00, 0x00), spi(0x30, 0x00, 0x01, 0x00), spi(0x30, 0x00, 0x02, 0x00)});
    case kEop:
        return send({kNoSync});  // how avrdude finds its way back into step
    default: {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            unknown_.push_back(command);
        }
        const std::optional<std::uint8_t> end = readByte();
        return send({end == kEop ? kUnknown : kNoSync});
    }
    }
}

void EmulatedArduinoIsp::serve()
{
    while (const std::optional<std::uint8_t> command = readByte()) {
        if (answers_)
            answer(*command);
    }
}

}  // namespace blikon::testing
