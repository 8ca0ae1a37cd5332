// The files ruvo-sim reads and writes without Qt, checked against Qt: a
// settings file must read as the game reads it (through QSettings), quirks
// and all, or the runner would play a different game from the same file;
// a frame must decode to the frame buffer's pixels.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "sim/png.h"
#include "sim/settings_file.h"

namespace ruvo {
namespace {

// The names the game reads, and two that live in sections.
const char* const kNames[] = {"Sound",  "Music",  "Option", "General/Score1", "Other/Score1", "Score1", "Score2",
                              "Score3", "Score4", "Score5", "Round1",         "Round2",       "Round3", "Round4",
                              "Round5", "Name1",  "Name2",  "Name3",          "Name4",        "Name5"};

// Pieces that files are made of: keys spelt plainly and escaped, quotes,
// escapes, lists, comments, typed values, sections, line breaks, and bytes
// that are not UTF-8 or that cut a character in two.
// clang-format off
const char* const kPieces[] = {
    "Sound", "Music", "Option", "Score1", "Name1", "Round3", "S%6fund", "%53ound", "%U0053ound", "Na\\me1", " ", "\t",
    "\v", "=", "\"", "'", "\\", "\\\\", "\\n", "\\x41", "\\xd800", "\\x", "\\101", "\\0", "\\9", ",", ";", "#", "@",
    "@@", "@String(", "@ByteArray(", "@Invalid()", "@Rect(1 2 3 4)", "@Size(1 2)", "@Point(1)", "@Variant(", ")",
    "\n", "\r\n", "\r", "[General]", "[general]", "[%General]", "[Other]", "[", "]", "1", "42", "4294967295", "-1",
    "Abc", "\xC3\x84", "\xE5\x90\x8D", "\xFF", "\xC3", "\xE5\x90", "\xEF\xBB\xBF", "%", "%4", "%zz"
};
// clang-format on

TEST(SimFiles, EverySettingsFileReadsAsQtReadsItAndAFrameDecodesToThePixelsGiven)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<std::string> files = {
        "[General]\nSound=1\nMusic = 0 \nName1=\"  a, b \"\nName2=a,b\nName3=x \"y\" z ;c\n",
        "\xEF\xBB\xBFScore1=5\n[general]\nScore2=6\n[ General ]\nScore3=7\n[%General]\nScore1=8\n[Other]\nScore1=9\n",
        "Name1=\\x41\\102\\t\\\"\\xd800\\x41424344\nName2=\\\nend\nName3=\"two\nlines\"\nName4=a\\;b;c\n",
        "Name1=@String(x)\nName2=@@x\nName3=@ByteArray(\\xc3\\xa4)\nName4=@Rect(1 2 3 4)\nName5=@Point(1)\n",
        "Name1=\xE5\x90\\\\\x8D\nName2=\xC3\\\\xyz\nName3=\\n\xEF\xBB\xBFy\nName4=ends\xE5\x90\nName5=\xFF\xC3\xA4\n",
        "\vScore1=1\n%53core2=2\nScore3=3\nScore3=4\n/Score4=5\nScore5\n=6\n;Score5=7\n",
    };
    // And files of random pieces, most lines with a key first.
    std::mt19937 random(1995);
    const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    for (int i = 0; i < 400; ++i) {
        std::string& file = files.emplace_back();
        const std::size_t lines = 1 + pick(8);
        for (std::size_t line = 0; line < lines; ++line) {
            if (pick(10) < 7)
                file += std::string(kPieces[pick(11)]) + "=";
            const std::size_t pieces = pick(8);
            for (std::size_t k = 0; k < pieces; ++k)
                file += kPieces[pick(std::size(kPieces))];
            file += pick(3) == 0 ? "\r\n" : "\n";
        }
    }

    for (std::size_t i = 0; i < files.size(); ++i) {
        // Qt keeps a file it has read by name: every file gets a name of its own.
        const QString path = dir.filePath(QString("settings-%1.conf").arg(i));
        ASSERT_TRUE(std::ofstream(path.toStdString(), std::ios::binary) << files[i]);
        QSettings qt(path, QSettings::IniFormat);
        const sim::SettingsValues ours = sim::ParseSettingsText(files[i]);
        for (const std::string name : kNames) {
            const QString key = QString::fromStdString(name);
            const auto found = ours.find(name);
            SCOPED_TRACE("file " + std::to_string(i) + ", " + name + ":\n" + files[i]);
            ASSERT_EQ(qt.contains(key), found != ours.end());
            if (found != ours.end()) {
                EXPECT_EQ(qt.value(key).toString().toUtf8().toStdString(), found->second);
            }
        }
    }

    // A frame written as PNG decodes to the pixels given.
    random.seed(7);
    // One pixel; the frame's size; one whose data needs several stored blocks.
    for (const auto& [width, height] : {std::pair{1, 1}, std::pair{384, 200}, std::pair{301, 257}}) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
        for (std::uint32_t& p : pixels)
            p = random() & 0xFFFFFF;
        const std::string path = dir.filePath(QString("frame-%1.png").arg(width)).toStdString();
        ASSERT_TRUE(sim::WritePng(path, width, height, pixels));
        const QImage image(QString::fromStdString(path), "PNG");
        ASSERT_EQ(image.size(), QSize(width, height)) << width << "x" << height << " not read back as a PNG";
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(image.pixel(x, y) & 0xFFFFFFu, pixels[static_cast<std::size_t>(y * width + x)])
                    << x << "," << y;
    }
    EXPECT_FALSE(sim::WritePng(dir.filePath("none/frame.png").toStdString(), 1, 1, {0}));
}

} // namespace
} // namespace ruvo
