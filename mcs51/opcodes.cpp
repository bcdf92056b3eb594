#include "opcodes.h"

namespace blikon::mcs51 {

std::string_view mnemonicName(Mnemonic m)
{
    static constexpr std::string_view kNames[] = {
        "ACALL", "ADD", "ADDC", "AJMP", "ANL", "CJNE", "CLR", "CPL", "DA", "DEC", "DIV", "DJNZ",
        "INC", "JB", "JBC", "JC", "JMP", "JNB", "JNC", "JNZ", "JZ", "LCALL", "LJMP", "MOV",
        "MOVC", "MOVX", "MUL", "NOP", "ORL", "POP", "PUSH", "RET", "RETI", "RL", "RLC", "RR",
        "RRC", "SETB", "SJMP", "SUBB", "SWAP", "XCH", "XCHD", "XRL", "DB",
    };
    static_assert(std::size(kNames) == static_cast<std::size_t>(Mnemonic::Reserved) + 1);
    return kNames[static_cast<std::size_t>(m)];
}

}  // namespace blikon::mcs51
