// The rich-text reader on arbitrary bytes: it comes to an end, and its text is
// well-formed UTF-8 of at most three bytes for each byte read, whatever numbers the
// input holds. The same bytes as the text of a document, with the three special
// characters escaped, come back as they are, in the document's code page and without
// the control characters and raw line ends that carry no text in RTF.

#include "check.h"
#include "core/codepage.h"
#include "core/rtfreader.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace blikon;

namespace {

FUZZ_UNTRACED std::string asDocumentText(std::string_view bytes)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1250 ";
    for (const char c : bytes) {
        if (c == '\\' || c == '{' || c == '}')
            rtf += '\\';
        rtf += c;
    }
    return rtf + '}';
}

FUZZ_UNTRACED std::string withoutControlCharacters(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
            text += c;
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const RtfText read = readRtf(bytes);
    FUZZ_CHECK(fuzz::wellFormedUtf8(read.text));
    FUZZ_CHECK(read.text.size() <= 3 * bytes.size());

    const RtfText plain = readRtf(asDocumentText(bytes));
    FUZZ_CHECK(plain.fault == RtfFault::None);
    FUZZ_CHECK(plain.text == decodeToUtf8(CodePage::Windows1250, withoutControlCharacters(bytes)));
    return 0;
}
