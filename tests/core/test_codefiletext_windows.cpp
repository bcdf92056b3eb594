// The writing of code files in the Windows ANSI code page, built for Windows with MinGW
// and run under Wine by run_under_wine.sh: Windows's own conversion (systemAnsiEncoder)
// against our table of the same code page, character by character, and the fallback to
// UTF-8 that the Linux tests check with the table standing in for Windows.
//
//   test_codefiletext_windows.exe <code page>   the ANSI code page Wine was started
//                                                with: 1250 or 1252
//
// No test library is built for Windows here: each failed check is printed, and the exit
// status is 1 when one failed.
#include "codefiletext.h"
#include "codepage.h"
#include "tableencoder.h"
#include "utf8.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace blikon;

namespace {

int failures = 0;

std::string hex(const std::optional<std::string>& bytes)
{
    if (!bytes)
        return "none";
    std::string out;
    char digits[4];
    for (const unsigned char byte : *bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        out += digits;
    }
    return out.empty() ? "empty" : out;
}

void expectBytes(const char* what, const std::optional<std::string>& got, const std::optional<std::string>& wanted)
{
    if (got == wanted)
        return;
    std::printf("FAIL %s: %s instead of %s\n", what, hex(got).c_str(), hex(wanted).c_str());
    ++failures;
}

// Windows converts each character exactly when our table has a byte for it, to that
// byte: no best-fit look-alike ("ł" as "l"), nothing dropped.
void systemConversionMatchesTheTable(const AnsiEncoder& ansi, CodePage page)
{
    int differences = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;  // surrogates are no characters
        std::string utf8;
        appendUtf8(utf8, c);
        const std::optional<std::string> system = ansi(utf8);
        const std::optional<std::string> table = blikon::testing::encodeWithTable(page, utf8);
        if (system != table && ++differences <= 10)
            std::printf("FAIL U+%04X: Windows gives %s, the table %s\n", unsigned(c), hex(system).c_str(),
                        hex(table).c_str());
    }
    expectBytes("U+1F600, beyond 16 bits", ansi("\xF0\x9F\x98\x80"), std::nullopt);
    if (differences > 0) {
        std::printf("FAIL %d characters convert otherwise than in the table\n", differences);
        ++failures;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    // run_under_wine.sh takes this line for the sign that Wine runs programs here; sent
    // at once, so that a crash later cannot lose it and pass for a skip.
    std::puts("Windows program started");
    std::fflush(stdout);
    const unsigned codePage = argc == 2 ? unsigned(std::strtoul(argv[1], nullptr, 10)) : 0;
    if (codePage != 1250 && codePage != 1252) {
        std::puts("usage: test_codefiletext_windows.exe 1250|1252");
        return 2;
    }
    if (GetACP() != codePage) {
        std::printf("FAIL the ANSI code page is %u, not %u: Wine was started in another locale\n", GetACP(), codePage);
        return 1;
    }
    const AnsiEncoder ansi = systemAnsiEncoder();
    if (!ansi) {
        std::puts("FAIL systemAnsiEncoder() gives no converter on Windows");
        return 1;
    }
    const CodePage page = codePage == 1250 ? CodePage::Windows1250 : CodePage::Windows1252;
    systemConversionMatchesTheTable(ansi, page);

    // č is E8 in Windows-1250 and has no byte in Windows-1252; € is 80 in both.
    const std::string line = "mov R2,#0FEh ; \xC4\x8D \xE2\x82\xAC\r\n";  // "... ; č €"
    if (codePage == 1250) {
        expectBytes("č € in 1250", encodeCodeFile(line, ansi), "mov R2,#0FEh ; \xE8 \x80\r\n");
        // C3 A9 ("Ă©") would open as the UTF-8 "é": written as UTF-8.
        expectBytes("Ă© in 1250", encodeCodeFile("\xC4\x82\xC2\xA9", ansi), "\xC4\x82\xC2\xA9");
    } else {
        expectBytes("č € in 1252", encodeCodeFile(line, ansi), line);
        expectBytes("€ in 1252", encodeCodeFile("\xE2\x82\xAC", ansi), "\x80");
    }
    expectBytes("empty text", encodeCodeFile("", ansi), "");

    std::printf("%s: code page %u, %d failed check(s)\n", failures ? "FAILED" : "passed", codePage, failures);
    return failures ? 1 : 0;
}
