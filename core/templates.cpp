#include "templates.h"

namespace blikon {

namespace {

// The fixed texts, line by line. Indented lines carry the eleven-space indent of the
// blocks; the spacing after each label's colon is part of the format. The comparison at
// fce1 reaches fce2, after all the frames, through a long jump: cjne alone reaches only
// 127 bytes forward, fewer than ten frames.
constexpr std::string_view kStart =
    "start0: mov A,#0\r\n"
    "start1: inc A\r\n"
    "start2: djnz R0, start2\r\n"
    "start3: jnb P3.0,start3\r\n"
    "start4: djnz R0, start4\r\n"
    "\r\n"
    "fce1:   cjne A,#1,fce1n\r\n"
    "           sjmp fce1a\r\n"
    "fce1n:  ljmp fce2\r\n"
    "fce1a:  mov R1,#50";

constexpr std::string_view kEnd =
    "\r\n"
    "           jmp fce1\r\n"
    "\r\n"
    "\r\n"
    "fce2:   ljmp start0\r\n"
    "\r\n"
    "Citac:  mov B, R1\r\n"
    "           mov R7, B\r\n"
    "Hop2: mov P3,#01000111b\r\n"
    "           mov P1, R2\r\n"
    "           Call P10MS\r\n"
    "           mov P3,#01001011b\r\n"
    "           mov P1, R3\r\n"
    "           Call P10MS\r\n"
    "           mov P3,#01010011b\r\n"
    "           mov P1, R4\r\n"
    "           Call P10MS\r\n"
    "           mov P3,#01100011b\r\n"
    "           mov P1, R5\r\n"
    "           Call P10MS\r\n"
    "           mov P3,#11000011b\r\n"
    "           mov P1, R6\r\n"
    "           Call P10MS\r\n"
    "           mov P3,#01000011b\r\n"
    "           jnb P3.0,Hop3\r\n"
    "           djnz R7, Hop2\r\n"
    "           ret\r\n"
    "Hop3: ljmp start1\r\n"
    "\r\n"
    "\r\n"
    "P10MS:  mov TMOD,#00000010b\r\n"
    "           mov TL0,#71\r\n"
    "           mov TH0,#0\r\n"
    "           mov R0,#1\r\n"
    "           setb TR0\r\n"
    "Hop:   clr TF0\r\n"
    "Sem:   jnb TF0, Sem\r\n"
    "           djnz R0, Hop\r\n"
    "           clr TR0\r\n"
    "           ret\r\n"
    "\r\n"
    "           End";

}  // namespace

std::string_view startTemplate() { return kStart; }

std::string_view endTemplate() { return kEnd; }

std::string addStart(std::string_view codeText)
{
    std::string result;
    result.reserve(kStart.size() + codeText.size());
    result += kStart;
    result += codeText;
    return result;
}

std::string addEnd(std::string_view codeText)
{
    std::string result;
    result.reserve(codeText.size() + kEnd.size());
    result += codeText;
    result += kEnd;
    return result;
}

}  // namespace blikon
