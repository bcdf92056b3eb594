#include "boardsimulation.h"

#include <algorithm>
#include <cmath>

namespace blikon::mcs51 {

namespace {

// `name` in any letter case; `lowerCase` is written in lower case.
bool isNamed(const std::string& name, std::string_view lowerCase)
{
    return std::equal(name.begin(), name.end(), lowerCase.begin(), lowerCase.end(),
                      [](char a, char b) { return (a | 0x20) == b; });
}

const Label* findLabel(const std::vector<Label>& labels, std::string_view lowerCase)
{
    const auto found = std::find_if(labels.begin(), labels.end(),
                                    [lowerCase](const Label& label) { return isNamed(label.name, lowerCase); });
    return found == labels.end() ? nullptr : &*found;
}

}  // namespace

const Label* frameStartLabel(const std::vector<Label>& labels) { return findLabel(labels, "citac"); }

const Label* loopStartLabel(const std::vector<Label>& labels) { return findLabel(labels, "start0"); }

BoardSimulation::BoardSimulation(const Firmware& firmware, int ramBytes, double machineCyclesPerSecond)
    : cpu_(firmware.code, ramBytes)
    , lamps_(std::uint64_t(std::llround(machineCyclesPerSecond * kEyeSeconds)))
    , cyclesPerSecond_(machineCyclesPerSecond)
{
    if (const Label* label = frameStartLabel(firmware.labels))
        frameAddress_ = label->address;
    if (const Label* label = loopStartLabel(firmware.labels))
        startAddress_ = label->address;
}

void BoardSimulation::reset()
{
    cpu_.reset();
    lamps_.reset();
    target_ = 0;
    labelFrames_ = lastFrameStart_ = previousFrameStart_ = framesAtStart_ = 0;
}

void BoardSimulation::setButton(bool pressed) { cpu_.setPin(3, 0, !pressed); }

void BoardSimulation::advance(double seconds)
{
    target_ += std::max(seconds, 0.0) * cyclesPerSecond_;
    runUntil(std::uint64_t(std::ceil(target_)), false);
}

void BoardSimulation::advanceTo(double seconds)
{
    target_ = std::max(target_, seconds * cyclesPerSecond_);
    runUntil(std::uint64_t(std::ceil(target_)), false);
}

bool BoardSimulation::runToNextFrame()
{
    const std::uint64_t before = frameCount();
    runUntil(cpu_.cycles() + std::uint64_t(std::ceil(kLongestStepSeconds * cyclesPerSecond_)), true);
    target_ = double(cpu_.cycles());
    return frameCount() != before;
}

void BoardSimulation::runUntil(std::uint64_t endCycle, bool stopAtFrame)
{
    const std::uint64_t frames = frameCount();
    while (cpu_.cycles() < endCycle) {
        runInstruction();
        // Stepping to a frame looks at the lamps after every instruction, as their
        // changes may start the frame; running reads the port writes when the log is full.
        if (stopAtFrame || cpu_.portWrites().size() == Cpu::kPortWriteCapacity)
            readPortWrites();
        if (stopAtFrame && frameCount() != frames)
            return;
    }
    readPortWrites();
}

void BoardSimulation::runInstruction()
{
    cpu_.step();
    if (cpu_.pc() == frameAddress_) {
        ++labelFrames_;
        previousFrameStart_ = lastFrameStart_;
        lastFrameStart_ = cpu_.cycles();
    } else if (cpu_.pc() == startAddress_) {
        framesAtStart_ = labelFrames_;
    }
}

bool BoardSimulation::showsLatestFrame() const
{
    return !framesStartAtLabel() || labelFrames_ == 0 || lamps_.lastCycleEnd() > lastFrameStart_;
}

void BoardSimulation::runUntilLatestFrameShows()
{
    // A multiplexing cycle ends at the latest kEyeSeconds after it began, before the frame.
    const std::uint64_t end = cpu_.cycles() + std::uint64_t(std::ceil(kEyeSeconds * cyclesPerSecond_));
    while (!showsLatestFrame() && cpu_.cycles() < end) {
        runInstruction();
        readPortWrites();
    }
    target_ = std::max(target_, double(cpu_.cycles()));
}

void BoardSimulation::readPortWrites()
{
    for (const PortWrite& write : cpu_.portWrites())
        lamps_.write(write);
    cpu_.clearPortWrites();
    lamps_.advanceTo(cpu_.cycles());
}

std::uint64_t BoardSimulation::frameCount() const
{
    return framesStartAtLabel() ? labelFrames_ : lamps_.changes();
}

std::optional<std::uint64_t> BoardSimulation::lastFrameCycles() const
{
    if (frameCount() < 2)
        return std::nullopt;
    if (framesStartAtLabel())
        return lastFrameStart_ - previousFrameStart_;
    return lamps_.lastChange() - lamps_.previousChange();
}

std::optional<double> BoardSimulation::lastFrameSeconds() const
{
    const std::optional<std::uint64_t> cycles = lastFrameCycles();
    if (!cycles)
        return std::nullopt;
    return double(*cycles) / cyclesPerSecond_;
}

}  // namespace blikon::mcs51
