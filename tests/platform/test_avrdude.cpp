#include "platform/avrdude.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace blikon {
namespace {

using ::testing::ElementsAreArray;

// The command lines per programmer and part are tested through the job against a
// stand-in avrdude (tests/document/test_chipprogramming.cpp).

std::vector<std::string> strings(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& item : list)
        out.push_back(item.toStdString());
    return out;
}

TEST(CustomCommandLine, PutsTheQuotedPathForEachPercentF)
{
    EXPECT_THAT(strings(customCommandLine("minipro -p AT89C2051@DIP20 -w %f", "/tmp/a b/program.hex")),
                ElementsAreArray({"minipro", "-p", "AT89C2051@DIP20", "-w", "/tmp/a b/program.hex"}));
    EXPECT_THAT(strings(customCommandLine("\"C:\\Prog ramy\\tl.exe\" %f -v %f", "C:\\x\\program.hex")),
                ElementsAreArray({"C:\\Prog ramy\\tl.exe", "C:\\x\\program.hex", "-v", "C:\\x\\program.hex"}));
    EXPECT_THAT(strings(customCommandLine("prog %f", "/tmp/a\"b.hex")), ElementsAreArray({"prog", "/tmp/a\"b.hex"}));
    EXPECT_TRUE(customCommandLine("   ", "/tmp/p.hex").isEmpty());
}

TEST(AvrdudeProgressReader, FollowsTheBarsHoweverTheOutputIsSplit)
{
    using Phase = AvrdudeProgress::Phase;
    struct Step {
        const char* bytes;
        AvrdudeProgress expected;
    };
    const Step steps[] = {
        {"avrdude: reading input file program.hex\nReading | ", {Phase::Starting, 0}},  // the signature, before writing
        {"##### | 100%\n", {Phase::Starting, 0}},
        {"Writ", {Phase::Starting, 0}},
        {"ing | #", {Phase::Writing, 2}},
        {"######################", {Phase::Writing, 46}},
        {"###########################", {Phase::Writing, 100}},
        {" | 100% 1.15s\n\navrdude: 1093 bytes of flash written\n", {Phase::Writing, 100}},
        {"Reading | ", {Phase::Verifying, 0}},
        {"#########################", {Phase::Verifying, 50}},
        {"#", {Phase::Verifying, 52}},
    };
    AvrdudeProgressReader reader;
    for (const Step& step : steps) {
        const AvrdudeProgress progress = reader.feed(step.bytes);
        EXPECT_EQ(progress.phase, step.expected.phase) << step.bytes;
        EXPECT_EQ(progress.percent, step.expected.percent) << step.bytes;
    }
}

// avrdude 7.1's own words for each ending, as it printed them against the emulated
// programmer and without one.
TEST(ReadAvrdudeResult, EachEndingOfAvrdude)
{
    using Kind = AvrdudeResult::Kind;
    struct Row {
        const char* output;
        int exitStatus;
        AvrdudeResult expected;
    };
    const Row rows[] = {
        {"avrdude: 1093 bytes of flash written\navrdude: 1093 bytes of flash verified\n", 0, {Kind::Verified, "", 1093, 0}},
        {"avrdude: 1 bytes of flash verified\n", 1, {Kind::Failed, "", 0, 1}},
        {"avrdude OS error: cannot open port /dev/ttyUSB7: No such file or directory\n", 1,
         {Kind::PortNotOpened, "/dev/ttyUSB7: No such file or directory", 0, 1}},
        {"avrdude ser_open() OS error: cannot set attributes for port /dev/null: Inappropriate ioctl for device\n", 1,
         {Kind::PortNotOpened, "/dev/null: Inappropriate ioctl for device", 0, 1}},
        {"avrdude error: cannot find USB device with vid=0x16c0 pid=0x5dc vendor='www.fischl.de' product='USBasp'\n", 1,
         {Kind::NoUsbasp, "", 0, 1}},
        {"avrdude error: programmer is not responding\navrdude warning: attempt 1 of 3: not in sync: resp=0x00\n", 1,
         {Kind::NoAnswer, "", 0, 1}},
        {"avrdude: device signature = 0x1e5106 (probably 89s51)\navrdude error: expected signature for AT89S52 is 1E 52 06\n",
         1, {Kind::WrongSignature, "1E 51 06", 0, 1}},
        {"avrdude error: Yikes!  Invalid device signature.\navrdude: device signature = 0x000000\n", 1,
         {Kind::ChipSilent, "00 00 00", 0, 1}},
        {"avrdude: device signature = 0xffffff (retrying)\n", 1, {Kind::ChipSilent, "FF FF FF", 0, 1}},
        {"avrdude warning: verification mismatch\n        device 0x45 != input 0x44 at addr 0x0123 (error)\n"
         "avrdude error: verification mismatch\n",
         1, {Kind::VerifyMismatch, "0x0123", 0, 1}},
        {"avrdude error: something new\n", 2, {Kind::Failed, "", 0, 2}},
    };
    for (const Row& row : rows) {
        const AvrdudeResult result = readAvrdudeResult(row.output, row.exitStatus);
        EXPECT_EQ(int(result.kind), int(row.expected.kind)) << row.output;
        EXPECT_EQ(result.detail.toStdString(), row.expected.detail.toStdString()) << row.output;
        EXPECT_EQ(result.bytes, row.expected.bytes) << row.output;
        EXPECT_EQ(result.exitStatus, row.expected.exitStatus) << row.output;
    }
}

}  // namespace
}  // namespace blikon
