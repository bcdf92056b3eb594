#include "codefiletext.h"

#include "codepage.h"
#include "utf8.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // MinGW's standard library defines it already
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace blikon {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

DecodedFile decodeFileBytes(std::string_view bytes)
{
    if (bytes.starts_with(kUtf8Bom) && isValidUtf8(bytes.substr(kUtf8Bom.size())))
        return {std::string(bytes.substr(kUtf8Bom.size())), FileEncoding::Utf8WithBom};
    if (isValidUtf8(bytes))
        return {std::string(bytes), FileEncoding::Utf8};
    return {decodeToUtf8(CodePage::Windows1250, bytes), FileEncoding::Windows1250};
}

std::string toCrLfLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

DecodedFile decodeCodeFile(std::string_view bytes)
{
    DecodedFile file = decodeFileBytes(bytes);
    file.text = toCrLfLineEnds(file.text);
    return file;
}

std::string encodeCodeFile(std::string_view utf8Text, const AnsiEncoder& ansi)
{
    if (ansi) {
        std::optional<std::string> bytes = ansi(utf8Text);
        if (bytes && decodeFileBytes(*bytes).text == utf8Text)
            return std::move(*bytes);
    }
    // Opening drops a leading byte-order mark, so a text that starts with U+FEFF gets a
    // mark of its own in front; its own U+FEFF then survives.
    if (utf8Text.starts_with(kUtf8Bom))
        return std::string(kUtf8Bom) + std::string(utf8Text);
    return std::string(utf8Text);
}

#ifdef _WIN32

AnsiEncoder systemAnsiEncoder()
{
    return [](std::string_view utf8) -> std::optional<std::string> {
        if (utf8.empty())
            return std::string();
        const int utf8Size = static_cast<int>(utf8.size());
        const int wideSize = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Size, nullptr, 0);
        if (wideSize <= 0)
            return std::nullopt;
        std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Size, wide.data(), wideSize);
        // No best-fit mapping: a character without its own byte must not turn into a
        // look-alike ("ł" into "l"), it makes the text go out as UTF-8 instead.
        BOOL usedDefault = FALSE;
        const int ansiSize =
            WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0, nullptr, &usedDefault);
        if (ansiSize <= 0 || usedDefault)
            return std::nullopt;
        std::string bytes(static_cast<std::size_t>(ansiSize), '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, bytes.data(), ansiSize, nullptr,
                            &usedDefault);
        if (usedDefault)
            return std::nullopt;
        return bytes;
    };
}

#else

AnsiEncoder systemAnsiEncoder() { return {}; }

#endif

}  // namespace blikon
