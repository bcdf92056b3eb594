#include "rtfreader.h"

#include "codepage.h"
#include "hexdigit.h"
#include "utf8.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <vector>

namespace blikon {

namespace {

// Limits that keep the reader's memory independent of the numbers in its input.
constexpr std::size_t kMaxDepth = 512;        // groups followed; deeper ones are left out
constexpr std::size_t kMaxWordLength = 32;    // longer control words are not RTF words
constexpr std::size_t kMaxFonts = 256;        // font table entries remembered

// Destinations whose text is not part of the document's text.
constexpr std::array<std::string_view, 44> kSkippedDestinations{
    "author", "bkmkend", "bkmkstart", "colorschememapping", "colortbl", "comment", "company", "datastore",
    "docvar", "fldinst", "filetbl", "footer", "footerf", "footerl", "footerr", "footnote", "generator",
    "header", "headerf", "headerl", "headerr", "info", "keywords", "latentstyles", "listoverridetable",
    "listtable", "listtext", "nonshppict", "object", "operator", "pict", "pn", "pntext", "private",
    "revtbl", "rsidtbl", "shp", "shpgrp", "stylesheet", "subject", "themedata", "title", "xe", "xmlnstbl",
};

enum class Mode : unsigned char { Text, FontTable, Skip };

struct Group {
    Mode mode = Mode::Text;
    int fallbackCount = 1;                // \ucN: characters that follow each \uN
    std::optional<CodePage> fontPage;     // the code page of the font chosen with \fN
};

struct ControlWord {
    std::string_view name;  // empty for a word longer than kMaxWordLength
    std::optional<int> parameter;
};

std::optional<CodePage> pageOfCodePageNumber(int number)
{
    if (number == 1250)
        return CodePage::Windows1250;
    if (number == 1252)
        return CodePage::Windows1252;
    return std::nullopt;
}

std::optional<CodePage> pageOfCharset(int charset)
{
    if (charset == 238)  // EASTEUROPE_CHARSET
        return CodePage::Windows1250;
    if (charset == 0)  // ANSI_CHARSET
        return CodePage::Windows1252;
    return std::nullopt;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

class Reader {
public:
    explicit Reader(std::string_view input)
        : in_(input)
    {
    }

    RtfText run()
    {
        while (pos_ < in_.size() && !finished_) {
            const char c = in_[pos_++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                control();
            else if (c != '\r' && c != '\n')
                character(static_cast<unsigned char>(c));
        }
        if (!finished_ && depth() > 0 && result_.fault == RtfFault::None)
            result_.fault = RtfFault::Unterminated;
        flushSurrogate();
        return std::move(result_);
    }

private:
    std::size_t depth() const { return groups_.size() + ignoredDepth_; }

    Mode mode() const
    {
        if (groups_.empty() || ignoredDepth_ > 0)
            return Mode::Skip;
        return groups_.back().mode;
    }

    CodePage page() const
    {
        if (!groups_.empty() && groups_.back().fontPage)
            return *groups_.back().fontPage;
        return defaultFontPage_.value_or(documentPage_);
    }

    void openGroup()
    {
        pendingFallback_ = 0;
        groupStart_ = true;
        ignorable_ = false;
        if (groups_.size() >= kMaxDepth || ignoredDepth_ > 0) {
            ++ignoredDepth_;
            result_.fault = RtfFault::TooDeep;
            return;
        }
        groups_.push_back(groups_.empty() ? Group{} : groups_.back());
    }

    void closeGroup()
    {
        pendingFallback_ = 0;
        groupStart_ = false;
        if (ignoredDepth_ > 0) {
            --ignoredDepth_;
            return;
        }
        if (groups_.empty()) {
            result_.fault = RtfFault::StrayBrace;
            return;
        }
        groups_.pop_back();
        finished_ = groups_.empty();  // the file's outermost group has ended
    }

    // A backslash was read: a control word, a control symbol or \'hh.
    void control()
    {
        if (pos_ >= in_.size())
            return;
        const char c = in_[pos_];
        if (isLetter(c)) {
            controlWord(readControlWord());
            return;
        }
        ++pos_;
        if (c == '*' && groupStart_) {
            ignorable_ = true;  // the destination word that follows is skipped
            return;
        }
        groupStart_ = false;
        switch (c) {
        case '\'': hexByte(); break;
        case '\\':
        case '{':
        case '}': put(static_cast<unsigned char>(c)); break;
        case '~': put(0xA0); break;     // non-breaking space
        case '_': put(0x2011); break;   // non-breaking hyphen
        case '\r':
        case '\n': putLineEnd(); break;  // a backslash before a line end is \par
        default: consumeFallback(); break;  // \- optional hyphen and the like show nothing
        }
    }

    ControlWord readControlWord()
    {
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        ControlWord word;
        if (pos_ - start <= kMaxWordLength)
            word.name = in_.substr(start, pos_ - start);
        const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1]);
        if (negative)
            ++pos_;
        if (pos_ < in_.size() && isDigit(in_[pos_])) {
            long long value = 0;  // saturates instead of overflowing
            while (pos_ < in_.size() && isDigit(in_[pos_])) {
                value = std::min<long long>(value * 10 + (in_[pos_] - '0'), INT_MAX);
                ++pos_;
            }
            word.parameter = static_cast<int>(negative ? -value : value);
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;  // the delimiter belongs to the word
        return word;
    }

    void controlWord(const ControlWord& word)
    {
        if (word.name == "bin") {
            skipBinary(word.parameter.value_or(0));
            return;
        }
        if (groupStart_) {
            groupStart_ = false;
            if (ignorable_ || std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word.name) !=
                                  kSkippedDestinations.end()) {
                ignorable_ = false;
                if (!groups_.empty() && ignoredDepth_ == 0)
                    groups_.back().mode = Mode::Skip;
                return;
            }
            if (word.name == "fonttbl" && !groups_.empty() && ignoredDepth_ == 0) {
                groups_.back().mode = Mode::FontTable;
                return;
            }
        }
        switch (mode()) {
        case Mode::Skip: return;
        case Mode::FontTable: fontTableWord(word); return;
        case Mode::Text: textWord(word); return;
        }
    }

    void fontTableWord(const ControlWord& word)
    {
        const int value = word.parameter.value_or(0);
        if (word.name == "f")
            fontEntry_ = value;
        else if (word.name == "fcharset")
            recordFontPage(pageOfCharset(value));
        else if (word.name == "cpg")
            recordFontPage(pageOfCodePageNumber(value));
    }

    void textWord(const ControlWord& word)
    {
        const std::string_view name = word.name;
        const int value = word.parameter.value_or(0);
        if (name == "u") {
            unicode(value);
            return;
        }
        if (name == "uc") {
            groups_.back().fallbackCount = std::max(0, word.parameter.value_or(1));
            return;
        }
        if (name == "ansi" || name == "mac" || name == "pc" || name == "pca")
            documentPage_ = CodePage::Windows1252;
        else if (name == "ansicpg")
            documentPage_ = pageOfCodePageNumber(value).value_or(CodePage::Windows1252);
        else if (name == "deff")
            setDefaultFont(value);
        else if (name == "f")
            groups_.back().fontPage = fontPage(value);

        if (name == "par" || name == "line" || name == "sect" || name == "page" || name == "row")
            putLineEnd();
        else if (name == "tab" || name == "cell")
            put('\t');
        else if (const std::optional<char32_t> c = namedCharacter(name))
            put(*c);
        else
            consumeFallback();  // every control word counts as one fallback character
    }

    static std::optional<char32_t> namedCharacter(std::string_view name)
    {
        struct Named {
            std::string_view name;
            char32_t c;
        };
        static constexpr std::array<Named, 10> kNamed{{
            {"emdash", 0x2014}, {"endash", 0x2013}, {"bullet", 0x2022}, {"lquote", 0x2018},
            {"rquote", 0x2019}, {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"emspace", 0x2003},
            {"enspace", 0x2002}, {"qmspace", 0x2005},
        }};
        for (const Named& named : kNamed)
            if (named.name == name)
                return named.c;
        return std::nullopt;
    }

    void unicode(int value)
    {
        // \uN is a signed 16-bit number: \u-3913 is U+F0B7.
        const long long code = value < 0 ? static_cast<long long>(value) + 0x10000 : value;
        const char32_t c = code >= 0 && code <= 0x10FFFF ? static_cast<char32_t>(code) : 0xFFFD;
        pendingFallback_ = 0;
        put(c);
        pendingFallback_ = groups_.back().fallbackCount;
    }

    void hexByte()
    {
        int byte = -1;
        if (pos_ + 1 < in_.size()) {
            const int high = hexDigitValue(in_[pos_]);
            const int low = hexDigitValue(in_[pos_ + 1]);
            if (high >= 0 && low >= 0) {
                byte = high * 16 + low;
                pos_ += 2;
            }
        }
        if (byte < 0) {
            consumeFallback();
            return;
        }
        put(decodeByte(page(), static_cast<unsigned char>(byte)));
    }

    void character(unsigned char byte)
    {
        groupStart_ = false;
        if (byte < 0x20 && byte != '\t') {
            return;  // control characters carry no text
        }
        put(decodeByte(page(), byte));
    }

    void skipBinary(int count)
    {
        groupStart_ = false;
        consumeFallback();  // the data counts as one fallback character
        if (count > 0)
            pos_ += std::min(static_cast<std::size_t>(count), in_.size() - pos_);
    }

    bool consumeFallback()
    {
        if (pendingFallback_ == 0)
            return false;
        --pendingFallback_;
        return true;
    }

    // Whether the next piece of text is shown: not while a destination is skipped or a
    // fallback character after \uN is due.
    bool shows()
    {
        if (consumeFallback())
            return false;
        return mode() == Mode::Text;
    }

    void put(char32_t c)
    {
        if (!shows())
            return;
        if (c >= 0xDC00 && c <= 0xDFFF && highSurrogate_) {
            appendUtf8(result_.text, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00));
            highSurrogate_ = 0;
            return;
        }
        flushSurrogate();
        if (c >= 0xD800 && c <= 0xDBFF) {
            highSurrogate_ = c;  // its low half comes with the next \uN
            return;
        }
        appendUtf8(result_.text, c);
    }

    void putLineEnd()
    {
        if (!shows())
            return;
        flushSurrogate();
        result_.text += "\r\n";
    }

    void flushSurrogate()
    {
        if (highSurrogate_)
            appendUtf8(result_.text, 0xFFFD);
        highSurrogate_ = 0;
    }

    std::optional<CodePage> fontPage(int font) const
    {
        for (const auto& [number, page] : fontPages_)
            if (number == font)
                return page;
        return std::nullopt;
    }

    void recordFontPage(std::optional<CodePage> page)
    {
        if (!page || fontEntry_ < 0)
            return;
        const auto known = std::find_if(fontPages_.begin(), fontPages_.end(),
                                        [this](const auto& entry) { return entry.first == fontEntry_; });
        if (known != fontPages_.end())
            known->second = *page;
        else if (fontPages_.size() < kMaxFonts)
            fontPages_.emplace_back(fontEntry_, *page);
        if (fontEntry_ == defaultFont_)
            defaultFontPage_ = page;
    }

    void setDefaultFont(int font)
    {
        defaultFont_ = font;
        defaultFontPage_ = fontPage(font);
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<Group> groups_;        // at most kMaxDepth
    std::size_t ignoredDepth_ = 0;     // groups open beyond kMaxDepth
    bool finished_ = false;
    bool groupStart_ = false;          // nothing read yet in the group just opened
    bool ignorable_ = false;           // "\*" opened the group
    int pendingFallback_ = 0;
    char32_t highSurrogate_ = 0;
    CodePage documentPage_ = CodePage::Windows1252;
    int fontEntry_ = -1;               // the font table entry being read
    int defaultFont_ = 0;
    std::optional<CodePage> defaultFontPage_;
    std::vector<std::pair<int, CodePage>> fontPages_;  // at most kMaxFonts
    RtfText result_;
};

}  // namespace

bool isRtf(std::string_view bytes) { return bytes.starts_with("{\\rtf"); }

RtfText readRtf(std::string_view rtf) { return Reader(rtf).run(); }

}  // namespace blikon
