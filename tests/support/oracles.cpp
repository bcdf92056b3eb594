#include "oracles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace blikon::testing {

namespace fs = std::filesystem;

namespace {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "blikon-oracle-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] bool valid() const { return !path_.empty(); }
    [[nodiscard]] std::string file(const char* name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

bool installed(std::string_view program)
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (!dir.empty() && ::access((fs::path(dir) / program).c_str(), X_OK) == 0)
            return true;
    return false;
}

bool writeFile(const std::string& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return bool(out.flush());
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string quoted(const std::string& path)
{
    std::string result = "'";
    for (char c : path)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

// Runs a shell command line; its exit status, or -1 when it did not end normally.
int run(const std::string& commandLine)
{
    const int status = std::system(commandLine.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string withoutPassLines(const std::string& text)
{
    std::istringstream lines(text);
    std::string kept;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("Begin Pass #", 0) != 0)
            kept += line + '\n';
    return kept;
}

// The data records of Intel HEX text laid out from address 0.
std::vector<std::uint8_t> hexImage(const std::string& hex)
{
    std::vector<std::uint8_t> image;
    std::istringstream lines(hex);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 11 || line[0] != ':' || line.compare(7, 2, "00") != 0)
            continue;
        const auto byteAt = [&](std::size_t i) { return std::stoi(line.substr(1 + 2 * i, 2), nullptr, 16); };
        const int count = byteAt(0);
        const int address = byteAt(1) * 256 + byteAt(2);
        if (line.size() < 11 + 2 * std::size_t(count))
            continue;
        if (image.size() < std::size_t(address + count))
            image.resize(address + count, 0xFF);
        for (int i = 0; i < count; ++i)
            image[address + i] = static_cast<std::uint8_t>(byteAt(4 + i));
    }
    return image;
}

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool sameWord(std::string_view word, std::string_view lowerCase)
{
    if (word.size() != lowerCase.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) != lowerCase[i])
            return false;
    return true;
}

// One line with its mnemonic mapped; `line` has no line feed.
std::string lineInAs31Dialect(std::string_view line)
{
    const auto skipBlanks = [&](std::size_t i) { return std::min(line.find_first_not_of(" \t", i), line.size()); };
    const auto wordEnd = [&](std::size_t i) {
        while (i < line.size() && isWordChar(line[i]))
            ++i;
        return i;
    };
    std::size_t begin = skipBlanks(0);
    std::size_t end = wordEnd(begin);
    if (end < line.size() && line[end] == ':') {
        begin = skipBlanks(end + 1);
        end = wordEnd(begin);
    }
    const std::string_view word = line.substr(begin, end - begin);
    const bool indirectJump = line.find('@', end) != std::string_view::npos;  // "jmp @A+DPTR" is as31's too
    const char* replacement = sameWord(word, "call")                   ? "lcall"
                              : sameWord(word, "jmp") && !indirectJump ? "ljmp"
                              : sameWord(word, "end") ? ".end"
                                                      : nullptr;
    if (!replacement)
        return std::string(line);
    return std::string(line.substr(0, begin)) + replacement + std::string(line.substr(end));
}

}  // namespace

std::string toAs31Dialect(std::string_view program)
{
    std::string result;
    std::size_t start = 0;
    while (start < program.size()) {
        const std::size_t feed = program.find('\n', start);
        const std::size_t stop = feed == std::string_view::npos ? program.size() : feed;
        result += lineInAs31Dialect(program.substr(start, stop - start));
        if (feed == std::string_view::npos) {
            result += result.ends_with('\r') ? "\n" : "\r\n";
            break;
        }
        result += '\n';
        start = feed + 1;
    }
    return result;
}

std::optional<As31Result> assembleWithAs31(std::string_view source)
{
    if (!installed("as31"))
        return std::nullopt;
    As31Result result;
    TempDir dir;
    if (!dir.valid() || !writeFile(dir.file("program.asm"), source)) {
        result.messages = "cannot write the source to a temporary folder\n";
        return result;
    }
    result.exitStatus = run("as31 -l -Fhex -O" + quoted(dir.file("program.hex")) + " " +
                            quoted(dir.file("program.asm")) + " >" + quoted(dir.file("messages")) + " 2>&1");
    result.messages = withoutPassLines(readFile(dir.file("messages")));
    result.hex = readFile(dir.file("program.hex"));
    result.listing = readFile(dir.file("program.lst"));
    result.image = hexImage(result.hex);
    return result;
}

std::optional<int> listingAddress(std::string_view listing, std::string_view label)
{
    // Each line holds an address and code bytes in its first 19 characters, the source
    // after them. A statement with many bytes continues its bytes on lines without an
    // address and shows its source on the last of them.
    constexpr std::size_t kSourceColumn = 19;
    std::optional<int> address;
    std::istringstream lines{std::string(listing)};
    for (std::string line; std::getline(lines, line);) {
        if (line.size() > 5 && line[4] == ':' && std::isxdigit(static_cast<unsigned char>(line[0])))
            address = std::stoi(line.substr(0, 4), nullptr, 16);
        if (line.size() <= kSourceColumn)
            continue;
        const std::size_t begin = line.find_first_not_of(" \t", kSourceColumn);
        if (begin != std::string::npos && line.compare(begin, label.size(), label) == 0 &&
            line.compare(begin + label.size(), 1, ":") == 0)
            return address;
    }
    return std::nullopt;
}

std::optional<S51Result> runS51(std::string_view hex, const std::vector<std::string>& commands, int timeoutSeconds,
                                std::string_view cpu)
{
    if (!installed("s51"))
        return std::nullopt;
    S51Result result;
    TempDir dir;
    // A command file keeps s51's output in order; commands on its standard input come
    // back echoed in chunks that split the output's lines. The file loads the code
    // itself, as s51 reads the command file before the files named on its command line.
    std::string script = "file \"" + dir.file("program.hex") + "\"\n";
    for (const std::string& command : commands)
        script += command + '\n';
    script += "quit\n";
    if (!dir.valid() || !writeFile(dir.file("program.hex"), hex) || !writeFile(dir.file("commands"), script)) {
        result.output = "cannot write the input to a temporary folder\n";
        return result;
    }
    result.exitStatus = run("timeout " + std::to_string(timeoutSeconds) + " s51 -t " + quoted(std::string(cpu)) + " -b -C " +
                            quoted(dir.file("commands")) + " </dev/null >" + quoted(dir.file("output")) + " 2>&1");
    result.timedOut = result.exitStatus == 124;  // timeout's status for a command it had to end
    result.output = readFile(dir.file("output"));
    return result;
}

std::vector<S51Stop> parseS51Stops(std::string_view output)
{
    static const std::regex stop("^Stop at 0x([0-9a-fA-F]+): \\(\\d+\\) (.*)$");
    static const std::regex sfr("^0x([0-9a-fA-F]+) \\S+:\\s+0b[01]+ 0x([0-9a-fA-F]+)");
    std::vector<S51Stop> stops;
    std::istringstream lines{std::string(output)};
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, stop))
            stops.push_back({std::stoi(match[1], nullptr, 16), match[2], {}});
        else if (!stops.empty() && std::regex_search(line, match, sfr))
            stops.back().sfr[std::stoi(match[1], nullptr, 16)] = std::stoi(match[2], nullptr, 16);
    }
    return stops;
}

namespace {

// The number after `key` in `line` ("ACC= 0x37" with key "ACC= 0x"), read in `base`; -1
// when the key is missing.
long long numberAfter(std::string_view line, std::string_view key, int base = 16)
{
    const std::size_t at = line.find(key);
    if (at == std::string_view::npos)
        return -1;
    const std::string rest(line.substr(at + key.size(), 20));
    char* end = nullptr;
    const long long value = std::strtoll(rest.c_str(), &end, base);
    return end == rest.c_str() ? -1 : value;
}

// The 16 bytes of a dump row "0x30 31 32 ... c3 12.l..." into `bytes` by address.
void readDumpRow(std::string_view line, std::map<int, int>& bytes)
{
    const long long address = numberAfter(line, "0x");
    for (int i = 0; i < 16 && address >= 0; ++i) {
        const std::size_t at = line.find(' ') + 1 + 3 * std::size_t(i);
        if (at + 2 > line.size() || !std::isxdigit(static_cast<unsigned char>(line[at])))
            return;
        bytes[int(address) + i] = std::stoi(std::string(line.substr(at, 2)), nullptr, 16);
    }
}

}  // namespace

std::vector<S51Step> parseS51Steps(std::string_view output)
{
    std::vector<S51Step> steps;
    std::map<int, int>* dump = nullptr;  // the dump whose rows follow
    bool registerRow = false;            // the line holds R0 to R7
    std::istringstream lines{std::string(output)};
    for (std::string text; std::getline(lines, text);) {
        const std::string_view line = text;
        if (line.starts_with("Stop at 0x")) {
            steps.emplace_back().pc = int(numberAfter(line, "Stop at 0x"));
            dump = nullptr;
            continue;
        }
        if (steps.empty())
            continue;
        S51Step& step = steps.back();
        if (registerRow) {
            std::istringstream values{text};
            for (int& r : step.r)
                values >> std::hex >> r;
            registerRow = false;
        } else if (line.find("R0 R1 R2 R3 R4 R5 R6 R7") != std::string_view::npos) {
            registerRow = true;
        } else if (line.starts_with("@R0")) {
            step.a = int(numberAfter(line, "ACC= 0x"));
            step.b = int(numberAfter(line, "B= 0x"));
        } else if (line.starts_with("@R1")) {
            step.psw = int(numberAfter(line, "PSW= 0x"));
        } else if (line.starts_with("SP 0x")) {
            step.sp = int(numberAfter(line, "SP 0x"));
        } else if (line.find("DPTR= 0x") == 3) {
            step.dptr = int(numberAfter(line, "DPTR= 0x"));
        } else if (line.starts_with("timer #1(\"time\")")) {
            step.clocks = numberAfter(line, "sec (", 10);
        } else if (line.starts_with("dump /h iram")) {
            dump = &step.iram;
        } else if (line.starts_with("dump /h sfr")) {
            dump = &step.sfr;
        } else if (dump && line.starts_with("0x")) {
            readDumpRow(line, *dump);
        } else {
            dump = nullptr;
        }
    }
    return steps;
}

}  // namespace blikon::testing
