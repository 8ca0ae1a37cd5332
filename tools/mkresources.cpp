// Turns the XPM sprite sources into 4-bit BMP image/mask pairs and embeds
// them, with the sound effects, into a C++ source of resource tables.
//
//   mkresources MANIFEST SOUNDDIR BITMAPDIR OUTPUT.cpp
// SPDX-License-Identifier: MIT
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::array<std::uint32_t, 16> kStandardPalette = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                                            0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                                            0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr int kBlackIndex = 0;
constexpr int kWhiteIndex = 15;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<int> index;   // palette index per pixel, top row first
    std::vector<bool> opaque; // mask black
};

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what);
}

std::vector<std::string> StringLiterals(const std::string& text)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            if (end == std::string::npos)
                break;
            i = end + 1;
        } else if (text[i] == '"') {
            const std::size_t end = text.find('"', i + 1);
            if (end == std::string::npos)
                Fail("unterminated string");
            out.push_back(text.substr(i + 1, end - i - 1));
            i = end;
        }
    }
    return out;
}

int PaletteIndex(const std::string& value, const std::string& where)
{
    if (value.size() != 7 || value[0] != '#')
        Fail(where + ": colour '" + value + "' is not #RRGGBB");
    const auto rgb = static_cast<std::uint32_t>(std::stoul(value.substr(1), nullptr, 16));
    for (std::size_t i = 0; i < kStandardPalette.size(); ++i)
        if (kStandardPalette[i] == rgb)
            return static_cast<int>(i);
    Fail(where + ": colour " + value + " is not one of the sixteen");
}

Picture ReadXpm(const fs::path& path)
{
    std::ifstream in(path);
    if (!in)
        Fail("cannot read " + path.string());
    std::stringstream buffer;
    buffer << in.rdbuf();
    const std::vector<std::string> lines = StringLiterals(buffer.str());
    if (lines.empty())
        Fail(path.string() + ": no XPM data");
    Picture picture;
    int colours = 0, perPixel = 0;
    if (std::sscanf(lines[0].c_str(), "%d %d %d %d", &picture.width, &picture.height, &colours, &perPixel) != 4 ||
        perPixel != 1 || picture.width <= 0 || picture.height <= 0)
        Fail(path.string() + ": bad header '" + lines[0] + "'");
    if (lines.size() < static_cast<std::size_t>(1 + colours + picture.height))
        Fail(path.string() + ": too few lines");

    struct Entry {
        int index = kBlackIndex;
        bool opaque = false;
    };
    std::map<char, Entry> table;
    for (int i = 0; i < colours; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(1 + i)];
        if (line.empty())
            Fail(path.string() + ": empty colour line");
        std::istringstream words(line.substr(1));
        std::string key, value, colour, mono;
        while (words >> key >> value) {
            if (key == "c")
                colour = value;
            else if (key == "m")
                mono = value;
        }
        Entry entry;
        if (colour == "None" || colour == "none") {
            entry = {kBlackIndex, false};
        } else {
            entry.index = PaletteIndex(colour, path.string());
            entry.opaque = mono != "white";
        }
        table[line[0]] = entry;
    }
    for (int y = 0; y < picture.height; ++y) {
        const std::string& row = lines[static_cast<std::size_t>(1 + colours + y)];
        if (static_cast<int>(row.size()) != picture.width)
            Fail(path.string() + ": row " + std::to_string(y) + " has the wrong width");
        for (char ch : row) {
            const auto it = table.find(ch);
            if (it == table.end())
                Fail(path.string() + ": unknown colour character '" + std::string(1, ch) + "'");
            picture.index.push_back(it->second.index);
            picture.opaque.push_back(it->second.opaque);
        }
    }
    return picture;
}

void Put16(Bytes& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// An uncompressed 4-bit BMP file image, bottom-up.
Bytes WriteBmp4(int width, int height, const std::vector<int>& index, const std::array<std::uint32_t, 16>& palette)
{
    const std::uint32_t stride = ((static_cast<std::uint32_t>(width) * 4 + 31) / 32) * 4;
    const std::uint32_t pixelOffset = 14 + 40 + 16 * 4;
    const std::uint32_t fileSize = pixelOffset + stride * static_cast<std::uint32_t>(height);
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, stride * static_cast<std::uint32_t>(height));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 16);
    Put32(out, 16);
    for (std::uint32_t rgb : palette) {
        out.push_back(static_cast<std::uint8_t>(rgb));
        out.push_back(static_cast<std::uint8_t>(rgb >> 8));
        out.push_back(static_cast<std::uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y) {
        Bytes line(stride, 0);
        for (int x = 0; x < width; ++x) {
            const auto v = static_cast<std::uint8_t>(index[static_cast<std::size_t>(y * width + x)] & 0xF);
            line[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(x % 2 ? v : v << 4);
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

struct Pair {
    Bytes image;
    Bytes mask;
};

Pair MakePair(const Picture& picture, bool white, bool bwPalette)
{
    std::array<std::uint32_t, 16> palette = kStandardPalette;
    int whiteIndex = kWhiteIndex;
    if (bwPalette) {
        palette.fill(0);
        palette[1] = 0xFFFFFF;
        whiteIndex = 1;
    }
    std::vector<int> image(picture.index.size()), mask(picture.index.size());
    for (std::size_t i = 0; i < image.size(); ++i) {
        mask[i] = picture.opaque[i] ? kBlackIndex : kWhiteIndex;
        if (white)
            image[i] = picture.opaque[i] ? whiteIndex : kBlackIndex;
        else
            image[i] = picture.index[i];
    }
    return {WriteBmp4(picture.width, picture.height, image, palette),
            WriteBmp4(picture.width, picture.height, mask, kStandardPalette)};
}

Bytes ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path.string());
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        Fail("cannot write " + path.string());
}

struct Resource {
    std::string type;
    std::uint32_t id;
    Bytes data;
};

void WriteSource(const fs::path& path, const std::vector<Resource>& resources)
{
    std::ofstream out(path);
    out << "// Generated by mkresources: the executable's built-in resources.\n"
           "#include \"resources/embedded.h\"\n\nnamespace ruvo::embedded {\nnamespace {\n";
    for (std::size_t i = 0; i < resources.size(); ++i) {
        out << "const unsigned char r" << i << "[] = {";
        for (std::size_t b = 0; b < resources[i].data.size(); ++b)
            out << (b % 24 == 0 ? "\n" : "") << static_cast<int>(resources[i].data[b]) << ',';
        out << "};\n";
    }
    out << "} // namespace\n\nconst EmbeddedResource kResources[] = {\n";
    for (std::size_t i = 0; i < resources.size(); ++i)
        out << "    {\"" << resources[i].type << "\", " << resources[i].id << ", r" << i << ", sizeof r" << i << "},\n";
    out << "};\nconst std::size_t kResourceCount = " << resources.size() << ";\n\n} // namespace ruvo::embedded\n";
    if (!out)
        Fail("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: mkresources MANIFEST SOUNDDIR BITMAPDIR OUTPUT.cpp\n");
        return 2;
    }
    try {
        const fs::path manifest = argv[1], sounds = argv[2], bitmaps = argv[3], output = argv[4];
        const fs::path artDir = manifest.parent_path();
        fs::create_directories(bitmaps);
        std::vector<Resource> resources;
        std::ifstream in(manifest);
        if (!in)
            Fail("cannot read " + manifest.string());
        std::string line;
        int lineNo = 0;
        while (std::getline(in, line)) {
            ++lineNo;
            std::istringstream words(line);
            std::string first;
            if (!(words >> first) || first[0] == '#')
                continue;
            if (first == "icon") {
                std::uint32_t group = 0;
                int size = 0;
                std::string source;
                if (!(words >> group >> size >> source))
                    Fail(manifest.string() + ":" + std::to_string(lineNo) + ": bad icon line");
                const Picture picture = ReadXpm(artDir / source);
                if (picture.width != size || picture.height != size)
                    Fail(source + ": icon is not " + std::to_string(size) + " pixels square");
                const Pair pair = MakePair(picture, false, false);
                const std::string stem = "icon-" + std::to_string(group) + "-" + std::to_string(size);
                WriteFile(bitmaps / (stem + ".bmp"), pair.image);
                WriteFile(bitmaps / (stem + "-mask.bmp"), pair.mask);
                Bytes both = pair.image;
                both.insert(both.end(), pair.mask.begin(), pair.mask.end());
                resources.push_back({size == 16 ? "ICON16" : "ICON32", group, both});
                continue;
            }
            const auto id = static_cast<std::uint32_t>(std::stoul(first));
            std::string source, option;
            if (!(words >> source))
                Fail(manifest.string() + ":" + std::to_string(lineNo) + ": no source");
            bool white = false, bw = false;
            while (words >> option) {
                if (option == "white")
                    white = true;
                else if (option == "bwpalette")
                    bw = true;
                else
                    Fail(manifest.string() + ":" + std::to_string(lineNo) + ": unknown option " + option);
            }
            const Pair pair = MakePair(ReadXpm(artDir / source), white, bw);
            WriteFile(bitmaps / (std::to_string(id) + ".bmp"), pair.image);
            WriteFile(bitmaps / (std::to_string(id + 1) + ".bmp"), pair.mask);
            resources.push_back({"BITMAP", id, pair.image});
            resources.push_back({"BITMAP", id + 1, pair.mask});
        }
        for (std::uint32_t id = 601; id <= 606; ++id)
            resources.push_back({"WAVE", id, ReadFile(sounds / (std::to_string(id) + ".wav"))});
        WriteSource(output, resources);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mkresources: %s\n", error.what());
        return 1;
    }
    return 0;
}
