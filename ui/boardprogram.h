#pragma once

#include "assembler.h"
#include "boardsettings.h"
#include "expected.h"
#include "firmware.h"
#include "intelhex.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace blikon {

namespace mcs51 {
struct Chip;
}

// A program for the board window, from the code text or from an Intel HEX file: the code
// memory and labels the board runs, how much of the chip it needs, and how many frames
// its loop has when it is a Blikon program.
struct BoardProgram {
    mcs51::Firmware firmware;
    std::uint32_t size = 0;                 // highest used code address + 1
    std::optional<std::size_t> loopFrames;  // the Call Citac lines of a complete program, at least 1
    QString hexFile;                        // the file it was read from; empty for the code text

    // Whether the board would run the same: the same code memory and the same labels at
    // the same addresses (a comment added above a label moves only its line).
    [[nodiscard]] bool runsLike(const BoardProgram& other) const;
};

// The code text made into a program: the one route every command takes that assembles
// it (F9, Ctrl+H, F6, the board window's follower, the chip programmer, the GIF export).
// It holds the whole assembly, for the error list and the Intel HEX, and the program
// ready to run when there is one; the caller decides what to show of it.
struct ProgramBuild {
    mcs51::Assembly assembly;             // errors and warnings by line; the segments
    std::optional<BoardProgram> program;  // none with errors or without a byte of code
    BoardSettings board;                  // what it was built for

    // Assembled without errors, but not a byte of code: an empty text, only comments,
    // or "org 100h" alone.
    [[nodiscard]] bool isEmpty() const { return assembly.ok() && !program; }
    // The program fits the chip; nothing to fit is true too.
    [[nodiscard]] bool fitsChip() const;
    // Why there is no program, as a status line says it: "Chyba na řádku 12: …" with the
    // first error, or "Program je prázdný."; empty when there is a program.
    [[nodiscard]] QString problem() const;
};

// Assembles the code text (UTF-8, as CodeEditor::codeTextUtf8 gives it) with generic
// jumps as `board` chooses, and makes the program of it: its code memory and labels, its
// size, and the frames of its loop when it is a complete Blikon program.
// buildProgram("", board).isEmpty() and buildProgram(" mov A,#1\r\nEnd", board).program->size == 2.
[[nodiscard]] ProgramBuild buildProgram(const QByteArray& codeText, const BoardSettings& board);

// The program of an Intel HEX file's segments, without labels; none when they hold no
// byte. A later segment wins where two overlap.
[[nodiscard]] std::optional<BoardProgram> programFromHex(const std::vector<mcs51::Segment>& segments,
                                                         const QString& fileName);

// The program of the Intel HEX file at `path`, or why it cannot run, for a message box:
// "Soubor „demo.hex“ nejde spustit." and on a second line the reader's line and reason
// ("Řádek 3: kontrolní součet je 00, má být 89."), that the file could not be read, or
// "Program je prázdný." for a file without data.
[[nodiscard]] Expected<BoardProgram, QString> readHexProgram(const QString& path);

// The line that tells whether the program fits the chip:
// "Program má 1 093 bajtů, AT89C2051 pojme 2 048." or
// "Program má 2 656 bajtů, AT89C2051 pojme jen 2 048 – čip by ho nepřijal."
[[nodiscard]] QString chipLine(std::uint32_t programSize, const mcs51::Chip& chip);

// An address as the status line shows it where no label names it: "PC 0123h", "PC 0A000h".
[[nodiscard]] QString pcText(std::uint16_t address);

}  // namespace blikon
