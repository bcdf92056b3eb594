// Build tool: packs PNG pictures of one icon, in several sizes, into a Windows .ico file,
// each stored as PNG (which Windows reads since Vista).
// Usage: makeico <out.ico> <picture.png>...
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    std::string bytes;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

// A PNG's size from its header chunk, which comes first: 8 bytes of signature, then
// length, "IHDR", width and height.
bool readPng(const char* path, Picture& picture)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    picture.bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    const std::string signature = "\x89PNG\r\n\x1A\n";
    if (picture.bytes.size() < 24 || picture.bytes.compare(0, 8, signature) != 0
        || picture.bytes.compare(12, 4, "IHDR") != 0)
        return false;
    picture.width = bigEndian32(picture.bytes, 16);
    picture.height = bigEndian32(picture.bytes, 20);
    return picture.width >= 1 && picture.width <= 256 && picture.height >= 1 && picture.height <= 256;
}

void put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: makeico <out.ico> <picture.png>...\n");
        return 2;
    }
    std::vector<Picture> pictures(static_cast<std::size_t>(argc - 2));
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        if (!readPng(argv[i + 2], pictures[i])) {
            std::fprintf(stderr, "makeico: %s is no PNG of 1 to 256 pixels a side\n", argv[i + 2]);
            return 1;
        }
    }
    // ICONDIR, one ICONDIRENTRY per picture, then the pictures; 256 is written as 0.
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<unsigned>(pictures.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
    for (const Picture& picture : pictures) {
        out += static_cast<char>(picture.width & 0xFF);
        out += static_cast<char>(picture.height & 0xFF);
        out += '\0';  // no palette
        out += '\0';
        put16(out, 1);   // colour planes
        put16(out, 32);  // bits per pixel
        put32(out, static_cast<std::uint32_t>(picture.bytes.size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(picture.bytes.size());
    }
    for (const Picture& picture : pictures)
        out += picture.bytes;
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    return file.good() ? 0 : 1;
}
