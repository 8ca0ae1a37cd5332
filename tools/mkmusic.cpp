// mkmusic: turns a Ruvo music score (plain text) into a Standard MIDI File.
//
//   usage: mkmusic SCORE_FILE OUT_FILE
//
// Score format (one statement per line, ';' starts a comment):
//
//   title Round theme           name stored in the conductor track
//   meter 4/4                   time signature (default 4/4)
//   tempo 176                   initial tempo in beats (quarter notes) per minute
//   tempo 112 at 16:3           tempo change at bar 16, beat 3 (bar 1 beat 1 = start)
//   pattern NAME ... end        reusable music, inserted with `play`
//   track NAME ... end          one MIDI track; all tracks must last equally long
//
// Inside a track or pattern:
//   channel 10                  MIDI channel 1..16 (tracks only, before any music)
//   program 80                  GM program 0..127 (channel 10 = drums)
//   volume 100 / pan 64 / reverb 40 / chorus 0      controllers 7, 10, 91, 93
//   velocity 96                 default note-on velocity (`v96` inside music too)
//   gate 85                     notes sound for 85% of their written length
//   play NAME [xN] [+T|-T]      insert a pattern N times, transposed T semitones
//   repeat N ... end            repeat the enclosed lines N times
//   anything else is music:
//     c5:4  f#4:8  bb3:2.  e5:8t  g4:2+8  r:4     note or rest with a length:
//         1 2 4 8 16 32 64 = whole .. 64th, '.' dotted, 't' triplet,
//         '+' adds lengths; a missing length repeats the previous one on the line
//     [c4 e4 g4]:2                chord
//     kick snare hat ohat ...     GM drum names (see kDrums), or n36 for key 36
//     suffixes: '~' tie into the next note of the same pitch, '!' accent, '?' soft
//     |                           bar check: must fall exactly on a bar line
//
// Octave numbers follow the usual convention: c4 is middle C (MIDI key 60).
// Any error prints "FILE:LINE: message" and exits with status 1.
// SPDX-License-Identifier: MIT

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace {

constexpr int kPpq = 480;
constexpr int kMaxDepth = 16;

const std::map<std::string, int> kDrums = {
    {"kick", 36},   {"kick2", 35}, {"stick", 37},   {"snare", 38},  {"clap", 39},    {"snare2", 40},
    {"tom1", 50},   {"tom2", 48},  {"tom3", 45},    {"tom4", 43},   {"tom5", 41},    {"hat", 42},
    {"phat", 44},   {"ohat", 46},  {"crash", 49},   {"crash2", 57}, {"ride", 51},    {"china", 52},
    {"splash", 55}, {"tamb", 54},  {"cowbell", 56}, {"shaker", 70}, {"timbale", 65}, {"triangle", 81},
};

struct ScoreError : std::runtime_error {
    int line;
    ScoreError(int l, const std::string& m) : std::runtime_error(m), line(l) {}
};

[[noreturn]] void fail(int line, const std::string& msg)
{
    throw ScoreError(line, msg);
}

struct Line {
    int no = 0;
    std::vector<std::string> words;
};

struct Block {
    std::string name;
    int line = 0;
    std::vector<Line> body;
};

struct Event {
    uint32_t tick;
    int order; // at equal ticks: note-offs (0), then controls (1), then note-ons (2)
    std::vector<uint8_t> bytes;
};

struct TrackState {
    int channel = -1; // 0-based once set
    int velocity = 100;
    int gate = 100;
    uint32_t tick = 0;
    bool hasMusic = false;
    std::map<int, std::pair<uint32_t, int>> tied; // key -> (start tick, velocity)
    std::vector<Event> events;
};

struct Tempo {
    uint32_t tick;
    uint32_t usec; // microseconds per quarter note
    int line;
};

struct Score {
    std::string title;
    int meterNum = 4, meterDen = 4;
    std::vector<Tempo> tempos;
    std::map<std::string, Block> patterns;
    std::vector<Block> tracks;
    uint32_t barTicks() const { return uint32_t(meterNum * 4 * kPpq / meterDen); }
};

std::vector<std::string> tokenize(const std::string& text, int line)
{
    std::vector<std::string> out;
    std::string cur;
    bool inChord = false;
    for (char c : text) {
        if (c == ';' && !inChord)
            break;
        if (c == '[')
            inChord = true;
        if (c == ']')
            inChord = false;
        if ((c == ' ' || c == '\t' || c == '\r') && !inChord) {
            if (!cur.empty())
                out.push_back(cur), cur.clear();
        } else {
            cur += (c == '\t') ? ' ' : c;
        }
    }
    if (inChord)
        fail(line, "chord '[' is not closed with ']' on the same line");
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

int toInt(const std::string& s, int line, int lo, int hi, const char* what)
{
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size() || v < lo || v > hi)
        fail(line, std::string(what) + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                       ", got '" + s + "'");
    return v;
}

// "4", "8.", "8t", "2+8" -> ticks
uint32_t parseLength(const std::string& s, int line)
{
    uint32_t total = 0;
    std::stringstream parts(s);
    std::string part;
    while (std::getline(parts, part, '+')) {
        size_t n = 0;
        while (n < part.size() && std::isdigit(static_cast<unsigned char>(part[n])))
            ++n;
        if (n == 0)
            fail(line, "bad note length '" + s + "'");
        int den = toInt(part.substr(0, n), line, 1, 64, "note length");
        if (den & (den - 1))
            fail(line, "note length must be 1, 2, 4, 8, 16, 32 or 64: '" + s + "'");
        uint32_t t = uint32_t(4 * kPpq / den);
        std::string mod = part.substr(n);
        if (mod == ".")
            t = t * 3 / 2;
        else if (mod == "..")
            t = t * 7 / 4;
        else if (mod == "t")
            t = t * 2 / 3;
        else if (!mod.empty())
            fail(line, "bad note length '" + s + "'");
        total += t;
    }
    if (total == 0)
        fail(line, "bad note length '" + s + "'");
    return total;
}

// "c5", "f#4", "bb3", "kick", "n36" -> MIDI key; sets isDrum for drum names
int parsePitch(const std::string& s, int line, bool& isDrum)
{
    isDrum = false;
    if (auto it = kDrums.find(s); it != kDrums.end())
        return isDrum = true, it->second;
    if (s.size() > 1 && s[0] == 'n' && std::isdigit(static_cast<unsigned char>(s[1])))
        return isDrum = true, toInt(s.substr(1), line, 0, 127, "key number");
    static const int base[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    if (s.empty() || s[0] < 'a' || s[0] > 'g')
        fail(line, "unknown note or drum '" + s + "'");
    int key = base[s[0] - 'a'];
    size_t i = 1;
    for (; i < s.size() && (s[i] == '#' || s[i] == 'b'); ++i)
        key += (s[i] == '#') ? 1 : -1;
    if (i == s.size())
        fail(line, "note '" + s + "' needs an octave number, e.g. c4");
    key += 12 * (toInt(s.substr(i), line, -1, 9, "octave") + 1);
    if (key < 0 || key > 127)
        fail(line, "note '" + s + "' is outside the MIDI range");
    return key;
}

void addEvent(TrackState& st, uint32_t tick, int order, std::vector<uint8_t> bytes)
{
    st.events.push_back({tick, order, std::move(bytes)});
}

void needChannel(const TrackState& st, int line)
{
    if (st.channel < 0)
        fail(line, "set the track's channel before anything else");
}

// One music token: a note, chord, rest, velocity change or bar check.
void playToken(const std::string& tok, int line, TrackState& st, int transpose, uint32_t& lastLen, const Score& score)
{
    if (tok == "|") {
        if (uint32_t off = st.tick % score.barTicks(); off != 0) {
            char beats[32];
            std::snprintf(beats, sizeof beats, "%g", double(off) / kPpq);
            fail(line, "bar check failed: " + std::string(beats) + " quarter notes into bar " +
                           std::to_string(st.tick / score.barTicks() + 1));
        }
        return;
    }
    if (tok[0] == 'v' && tok.size() > 1 && std::isdigit(static_cast<unsigned char>(tok[1]))) {
        st.velocity = toInt(tok.substr(1), line, 1, 127, "velocity");
        return;
    }
    needChannel(st, line);
    std::string body = tok;
    bool tie = false;
    int velocity = st.velocity;
    while (!body.empty() && (body.back() == '~' || body.back() == '!' || body.back() == '?')) {
        char c = body.back();
        body.pop_back();
        if (c == '~')
            tie = true;
        else
            velocity = std::clamp(velocity + (c == '!' ? 24 : -30), 1, 127);
    }
    std::string head = body, lenText;
    size_t colon = body.rfind(':');
    if (colon != std::string::npos && body.find(']', colon) == std::string::npos)
        head = body.substr(0, colon), lenText = body.substr(colon + 1);
    uint32_t len = lenText.empty() ? lastLen : parseLength(lenText, line);
    if (len == 0)
        fail(line, "'" + tok + "' needs a length (the first note on a line must give one)");
    lastLen = len;

    std::vector<std::string> names;
    if (head.size() >= 2 && head.front() == '[' && head.back() == ']') {
        std::istringstream in(head.substr(1, head.size() - 2));
        for (std::string n; in >> n;)
            names.push_back(n);
        if (names.empty())
            fail(line, "empty chord '" + tok + "'");
    } else if (head != "r") {
        names.push_back(head);
    } else if (tie) {
        fail(line, "a rest cannot be tied");
    }
    std::map<int, std::pair<uint32_t, int>> stillTied;
    std::vector<int> keys;
    for (const auto& n : names) {
        bool isDrum = false;
        int key = parsePitch(n, line, isDrum);
        if (!isDrum)
            key += transpose;
        if (key < 0 || key > 127)
            fail(line, "'" + n + "' transposed leaves the MIDI range");
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            fail(line, "chord '" + tok + "' has the same key twice");
        keys.push_back(key);
        uint32_t start = st.tick;
        int vel = velocity;
        if (auto it = st.tied.find(key); it != st.tied.end()) {
            start = it->second.first, vel = it->second.second;
            st.tied.erase(it);
        } else {
            addEvent(st, start, 2, {uint8_t(0x90 | st.channel), uint8_t(key), uint8_t(vel)});
        }
        if (tie) {
            stillTied[key] = {start, vel};
        } else {
            uint32_t sounding = std::max<uint32_t>(1, len * uint32_t(st.gate) / 100);
            addEvent(st, st.tick + sounding, 0, {uint8_t(0x80 | st.channel), uint8_t(key), 0});
        }
    }
    if (!st.tied.empty())
        fail(line, "a tied note is not continued by the next note '" + tok + "'");
    st.tied = std::move(stillTied);
    st.tick += len;
    st.hasMusic = true;
}

void render(const Score& score, const std::vector<Line>& body, size_t from, size_t to, TrackState& st, int transpose,
            int depth, bool inPattern)
{
    for (size_t i = from; i < to; ++i) {
        const Line& ln = body[i];
        const auto& w = ln.words;
        const std::string& cmd = w[0];
        auto arg = [&](int lo, int hi) {
            if (w.size() != 2)
                fail(ln.no, "'" + cmd + "' takes exactly one number");
            return toInt(w[1], ln.no, lo, hi, cmd.c_str());
        };
        auto control = [&](int cc) {
            int v = arg(0, 127);
            needChannel(st, ln.no);
            addEvent(st, st.tick, 1, {uint8_t(0xB0 | st.channel), uint8_t(cc), uint8_t(v)});
        };
        if (cmd == "repeat") {
            int times = arg(1, 64);
            size_t j = i + 1;
            for (int nest = 1; j < to; ++j) {
                if (body[j].words[0] == "repeat")
                    ++nest;
                if (body[j].words[0] == "end" && --nest == 0)
                    break;
            }
            for (int k = 0; k < times; ++k)
                render(score, body, i + 1, j, st, transpose, depth + 1, inPattern);
            i = j;
        } else if (cmd == "play") {
            if (w.size() < 2 || w.size() > 4)
                fail(ln.no, "usage: play NAME [xN] [+T|-T]");
            auto it = score.patterns.find(w[1]);
            if (it == score.patterns.end())
                fail(ln.no, "no pattern named '" + w[1] + "'");
            if (depth >= kMaxDepth)
                fail(ln.no, "patterns nest too deeply (does a pattern play itself?)");
            int times = 1, shift = 0;
            for (size_t k = 2; k < w.size(); ++k) {
                if (w[k][0] == 'x')
                    times = toInt(w[k].substr(1), ln.no, 1, 64, "repeat count");
                else if (w[k][0] == '+')
                    shift = toInt(w[k].substr(1), ln.no, 0, 48, "transposition");
                else if (w[k][0] == '-')
                    shift = -toInt(w[k].substr(1), ln.no, 0, 48, "transposition");
                else
                    fail(ln.no, "usage: play NAME [xN] [+T|-T]");
            }
            const auto& pb = it->second.body;
            for (int k = 0; k < times; ++k)
                render(score, pb, 0, pb.size(), st, transpose + shift, depth + 1, true);
        } else if (cmd == "channel") {
            if (inPattern)
                fail(ln.no, "'channel' belongs in a track, not a pattern");
            if (st.channel >= 0 || st.hasMusic)
                fail(ln.no, "the channel is set once, before any music");
            st.channel = arg(1, 16) - 1;
        } else if (cmd == "program") {
            int p = arg(0, 127);
            needChannel(st, ln.no);
            addEvent(st, st.tick, 1, {uint8_t(0xC0 | st.channel), uint8_t(p)});
        } else if (cmd == "volume") {
            control(7);
        } else if (cmd == "pan") {
            control(10);
        } else if (cmd == "reverb") {
            control(91);
        } else if (cmd == "chorus") {
            control(93);
        } else if (cmd == "velocity") {
            st.velocity = arg(1, 127);
        } else if (cmd == "gate") {
            st.gate = arg(1, 100);
        } else if (cmd == "end") {
            fail(ln.no, "'end' without an open block");
        } else {
            uint32_t lastLen = 0;
            for (const auto& tok : w)
                playToken(tok, ln.no, st, transpose, lastLen, score);
        }
    }
}

Score parse(std::istream& in)
{
    Score score;
    std::optional<Block> open;
    bool openIsPattern = false;
    int nest = 0, lineNo = 0;
    std::string text;
    while (std::getline(in, text)) {
        ++lineNo;
        auto w = tokenize(text, lineNo);
        if (w.empty())
            continue;
        if (open) {
            if (w[0] == "repeat")
                ++nest;
            if (w[0] == "end" && w.size() == 1 && nest-- == 0) {
                if (!openIsPattern)
                    score.tracks.push_back(std::move(*open));
                else if (!score.patterns.emplace(open->name, std::move(*open)).second)
                    fail(lineNo, "pattern '" + open->name + "' is defined twice");
                open.reset(), nest = 0;
                continue;
            }
            if (w[0] == "pattern" || w[0] == "track")
                fail(lineNo, "'" + w[0] + "' inside an open block (missing 'end'?)");
            open->body.push_back({lineNo, w});
            continue;
        }
        if (w[0] == "title") {
            score.title = text.substr(text.find("title") + 5);
            score.title.erase(0, score.title.find_first_not_of(" \t"));
            if (auto c = score.title.find(';'); c != std::string::npos)
                score.title.erase(c);
            while (!score.title.empty() && std::isspace(static_cast<unsigned char>(score.title.back())))
                score.title.pop_back();
        } else if (w[0] == "meter") {
            auto slash = w.size() == 2 ? w[1].find('/') : std::string::npos;
            if (slash == std::string::npos)
                fail(lineNo, "usage: meter N/D, e.g. meter 4/4");
            if (!score.tempos.empty())
                fail(lineNo, "'meter' must come before any 'tempo'");
            score.meterNum = toInt(w[1].substr(0, slash), lineNo, 1, 32, "beats per bar");
            score.meterDen = toInt(w[1].substr(slash + 1), lineNo, 1, 16, "beat unit");
            if (score.meterDen & (score.meterDen - 1))
                fail(lineNo, "beat unit must be 1, 2, 4, 8 or 16");
        } else if (w[0] == "tempo") {
            if (w.size() != 2 && !(w.size() == 4 && w[2] == "at"))
                fail(lineNo, "usage: tempo BPM [at BAR:BEAT]");
            double bpm = 0;
            auto [p, ec] = std::from_chars(w[1].data(), w[1].data() + w[1].size(), bpm);
            if (ec != std::errc() || p != w[1].data() + w[1].size() || bpm < 20 || bpm > 400)
                fail(lineNo, "tempo must be 20 to 400 beats per minute, got '" + w[1] + "'");
            uint32_t tick = 0;
            if (w.size() == 4) {
                auto colon = w[3].find(':');
                int bar = toInt(w[3].substr(0, colon), lineNo, 1, 9999, "bar");
                int beat =
                    colon == std::string::npos ? 1 : toInt(w[3].substr(colon + 1), lineNo, 1, score.meterNum, "beat");
                tick = uint32_t(bar - 1) * score.barTicks() + uint32_t(beat - 1) * uint32_t(4 * kPpq / score.meterDen);
            }
            if (score.tempos.empty() ? tick != 0 : tick <= score.tempos.back().tick)
                fail(lineNo, "tempos must start at bar 1 and then go forward in time");
            score.tempos.push_back({tick, uint32_t(60000000.0 / bpm + 0.5), lineNo});
        } else if (w[0] == "pattern" || w[0] == "track") {
            if (w.size() != 2)
                fail(lineNo, "usage: " + w[0] + " NAME");
            openIsPattern = (w[0] == "pattern");
            open = Block{w[1], lineNo, {}};
        } else {
            fail(lineNo, "unknown statement '" + w[0] + "' outside a track or pattern");
        }
    }
    if (open)
        fail(open->line, "'" + open->name + "' is never closed with 'end'");
    if (score.tempos.empty())
        fail(lineNo, "the score has no 'tempo'");
    if (score.tracks.empty())
        fail(lineNo, "the score has no tracks");
    return score;
}

void putVarLen(std::vector<uint8_t>& out, uint32_t v)
{
    uint8_t buf[5];
    int n = 0;
    buf[n++] = v & 0x7F;
    while (v >>= 7)
        buf[n++] = uint8_t(0x80 | (v & 0x7F));
    while (n)
        out.push_back(buf[--n]);
}

void putBE(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(v >> (8 * i)));
}

void putMeta(std::vector<Event>& ev, uint32_t tick, uint8_t type, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> b{0xFF, type};
    putVarLen(b, uint32_t(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    ev.push_back({tick, 1, b});
}

std::vector<uint8_t> trackChunk(std::vector<Event> ev, const std::string& name, uint32_t endTick)
{
    std::stable_sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> data;
    putVarLen(data, 0);
    data.insert(data.end(), {0xFF, 0x03});
    putVarLen(data, uint32_t(name.size()));
    data.insert(data.end(), name.begin(), name.end());
    uint32_t now = 0;
    for (const auto& e : ev) {
        putVarLen(data, e.tick - now);
        now = e.tick;
        data.insert(data.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(data, endTick - now);
    data.insert(data.end(), {0xFF, 0x2F, 0x00});
    std::vector<uint8_t> chunk{'M', 'T', 'r', 'k'};
    putBE(chunk, uint32_t(data.size()), 4);
    chunk.insert(chunk.end(), data.begin(), data.end());
    return chunk;
}

std::vector<uint8_t> build(const Score& score)
{
    std::vector<std::vector<Event>> parts;
    uint32_t songEnd = 0;
    const Block* first = nullptr; // every track must last as long as the first one
    for (const auto& tr : score.tracks) {
        TrackState st;
        render(score, tr.body, 0, tr.body.size(), st, 0, 0, false);
        if (st.channel < 0)
            fail(tr.line, "track '" + tr.name + "' has no channel");
        if (!st.tied.empty())
            fail(tr.line, "track '" + tr.name + "' ends inside a tied note");
        if (st.tick % score.barTicks() != 0)
            fail(tr.line, "track '" + tr.name + "' does not end on a bar line");
        if (first && st.tick != songEnd) {
            auto bars = [&](uint32_t t) { return std::to_string(t / score.barTicks()); };
            fail(tr.line, "track '" + tr.name + "' lasts " + bars(st.tick) + " bars but track '" + first->name +
                              "' lasts " + bars(songEnd));
        }
        if (!first)
            songEnd = st.tick, first = &tr;
        parts.push_back(std::move(st.events));
    }
    if (songEnd == 0)
        fail(score.tracks.front().line, "the score contains no music");
    if (score.tempos.back().tick >= songEnd)
        fail(score.tempos.back().line, "this tempo change lies after the end of the music");

    std::vector<Event> conductor;
    int dd = 0;
    while ((1 << dd) < score.meterDen)
        ++dd;
    putMeta(conductor, 0, 0x58, {uint8_t(score.meterNum), uint8_t(dd), uint8_t(96 / score.meterDen), 8});
    for (const auto& t : score.tempos)
        putMeta(conductor, t.tick, 0x51, {uint8_t(t.usec >> 16), uint8_t(t.usec >> 8), uint8_t(t.usec)});

    std::vector<uint8_t> file{'M', 'T', 'h', 'd'};
    putBE(file, 6, 4);
    putBE(file, 1, 2);
    putBE(file, uint32_t(parts.size() + 1), 2);
    putBE(file, kPpq, 2);
    auto append = [&](const std::vector<uint8_t>& c) { file.insert(file.end(), c.begin(), c.end()); };
    append(trackChunk(conductor, score.title, songEnd));
    for (size_t i = 0; i < parts.size(); ++i)
        append(trackChunk(parts[i], score.tracks[i].name, songEnd));
    return file;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: mkmusic SCORE_FILE OUT_FILE\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot open score\n";
        return 1;
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = build(parse(in));
    } catch (const ScoreError& e) {
        std::cerr << argv[1] << ":" << e.line << ": " << e.what() << "\n";
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot write MIDI file\n";
        return 1;
    }
    return 0;
}
