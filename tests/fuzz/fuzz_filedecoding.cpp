// Opening a plain-text code file, on arbitrary bytes: the text is well-formed UTF-8
// with CR LF line ends; UTF-8 files (with or without a byte-order mark) keep every
// character, other files read as Windows-1250 and keep every byte; only line ends
// change, and each one stays one line end. Saving the text again, with or without an
// ANSI code page, and opening what was saved gives the same text.

#include "check.h"
#include "codefiletext.h"
#include "codepage.h"
#include "tableencoder.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace blikon;

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

FUZZ_UNTRACED bool hasOnlyCrLfLineEnds(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

// Line ends in any convention: CR LF, a lone CR and a lone LF each count once.
FUZZ_UNTRACED std::size_t lineEnds(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++count;
    return count;
}

FUZZ_UNTRACED std::string withoutLineEnds(std::string_view text)
{
    std::string rest;
    for (const char c : text)
        if (c != '\r' && c != '\n')
            rest += c;
    return rest;
}

const AnsiEncoder kWindows1250 = [](std::string_view utf8) { return blikon::testing::encodeWithTable(CodePage::Windows1250, utf8); };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DecodedFile file = decodeCodeFile(bytes);
    FUZZ_CHECK(fuzz::wellFormedUtf8(file.text));
    FUZZ_CHECK(hasOnlyCrLfLineEnds(file.text));
    FUZZ_CHECK(toCrLfLineEnds(file.text) == file.text);

    const bool withBom = bytes.starts_with(kBom) && fuzz::wellFormedUtf8(bytes.substr(kBom.size()));
    const std::string_view body = withBom ? bytes.substr(kBom.size()) : bytes;
    if (withBom || fuzz::wellFormedUtf8(bytes)) {
        FUZZ_CHECK(file.encoding == (withBom ? FileEncoding::Utf8WithBom : FileEncoding::Utf8));
        FUZZ_CHECK(withoutLineEnds(file.text) == withoutLineEnds(body));
    } else {
        FUZZ_CHECK(file.encoding == FileEncoding::Windows1250);
        FUZZ_CHECK(blikon::testing::encodeWithTable(CodePage::Windows1250, decodeFileBytes(bytes).text) == std::string(bytes));
    }
    FUZZ_CHECK(lineEnds(file.text) == lineEnds(body));

    // Both code pages give every byte a character and take it back.
    FUZZ_CHECK(blikon::testing::encodeWithTable(CodePage::Windows1252, decodeToUtf8(CodePage::Windows1252, bytes)) == std::string(bytes));

    FUZZ_CHECK(decodeCodeFile(encodeCodeFile(file.text, {})).text == file.text);
    FUZZ_CHECK(decodeCodeFile(encodeCodeFile(file.text, kWindows1250)).text == file.text);
    return 0;
}
