// The replay file written as text and read back, refusing a bad line with
// the line's number and what was wrong.
// SPDX-License-Identifier: MIT
#include "replay/replay_file.h"

#include <cstdint>

#include "record/decimal.h"
#include "replay/command_script.h"
#include "replay/daily.h"
#include "settings/options.h"

namespace ruvo {
namespace {

constexpr std::string_view kFormatWord = "ruvo-replay";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::array<const char*, 11> kProgramNames = {"seed",      "sunFrame",     "stairsTicks", "stairsDir",
                                                       "hopTicks",  "stopHeading",  "stopTicks",   "dashHeading",
                                                       "dashTicks", "lungeHeading", "lungeTicks"};

// The values a run of the game can give the program's values after the seed,
// in kProgramNames' order: the sun's three frames, the stairs' count to 13,
// the hop's climb and fall (18 ticks at most in the field's rows), the
// halts' and dashes' counts of 2 and the headings -1, 0 and 1. Outside them
// a game could draw what does not exist.
struct ValueRange {
    std::int32_t least;
    std::int32_t most;
};
constexpr std::array<ValueRange, 10> kProgramRanges = {
    {{0, 2}, {0, 13}, {-1, 1}, {0, 18}, {-1, 1}, {0, 2}, {-1, 1}, {0, 2}, {-1, 1}, {0, 2}}};

std::array<std::int32_t*, 10> ProgramFields(ProgramState& program)
{
    BossCounters& b = program.boss;
    return {&program.sunFrame, &b.stairsTicks, &b.stairsDir, &b.hopTicks,     &b.stopHeading,
            &b.stopTicks,      &b.dashHeading, &b.dashTicks, &b.lungeHeading, &b.lungeTicks};
}

// A name goes on one line: line breaks in it become blanks.
std::string OneLine(std::string_view name)
{
    std::string text(name);
    for (char& ch : text)
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    return text;
}

const char* ActionWord(ReplayAction action)
{
    switch (action) {
    case ReplayAction::Dive:
        return "dive";
    case ReplayAction::Pause:
        return "pause";
    case ReplayAction::Sound:
        return "sound";
    case ReplayAction::Music:
        return "music";
    case ReplayAction::Name:
        return "name";
    }
    return "";
}

// Dives that follow each other with no other command between share a line:
// the first by its tick, the others by the ticks since the one before.
void WriteCommands(std::string& out, const std::vector<ReplayCommand>& commands)
{
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const ReplayCommand& command = commands[i];
        out += std::to_string(command.tick) + ' ' + ActionWord(command.action);
        if (command.action == ReplayAction::Name)
            out += ' ' + OneLine(command.name);
        for (std::size_t gaps = 0; command.action == ReplayAction::Dive && gaps < kReplayGapsPerLine; ++gaps) {
            if (i + 1 == commands.size() || commands[i + 1].action != ReplayAction::Dive ||
                commands[i + 1].tick <= commands[i].tick)
                break;
            out += ' ' + std::to_string(commands[i + 1].tick - commands[i].tick);
            ++i;
        }
        out += '\n';
    }
}

bool ParseUnsigned(std::string_view text, std::uint32_t& value)
{
    return ParseDecimal32(text, false, value);
}

bool ParseSigned(std::string_view text, std::int32_t& value)
{
    std::uint32_t bits = 0;
    if (!ParseDecimal32(text, true, bits))
        return false;
    value = static_cast<std::int32_t>(bits);
    return true;
}

// The options' names in the dialog's order.
constexpr std::array<const char*, 8> OptionNames()
{
    std::array<const char*, 8> names{};
    for (std::size_t row = 0; row < names.size(); ++row)
        names[row] = kOptionRows[row].name;
    return names;
}
constexpr std::array<const char*, 8> kOptionNames = OptionNames();

// Splits "NAME1=V1 NAME2=V2 ..." into its values, the names as given and in
// their order; false when anything else stands there.
template <std::size_t N>
bool ParsePairs(std::string_view text, const std::array<const char*, N>& names, std::array<std::string_view, N>& values)
{
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view name = names[i];
        if (text.substr(0, name.size()) != name || text.substr(name.size(), 1) != "=")
            return false;
        text.remove_prefix(name.size() + 1);
        const std::size_t end = text.find(' ');
        values[i] = text.substr(0, end);
        if (i + 1 < N && end == std::string_view::npos)
            return false;
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return text.empty();
}

// The text of the file, a line at a time, with the number of each.
class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool Next(std::string_view& line)
    {
        if (text_.empty())
            return false;
        const std::size_t end = text_.find('\n');
        line = text_.substr(0, end);
        text_ = end == std::string_view::npos ? std::string_view{} : text_.substr(end + 1);
        // CR LF, or CR CR LF as some editors leave it: a value kept with a CR
        // at its end would lose it each time it is written and read again.
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number_;
        return true;
    }
    int Number() const { return number_; }
    bool AtEnd() const { return text_.empty(); }
    // Whether the next line begins with the text.
    bool NextBegins(std::string_view start) const { return text_.substr(0, start.size()) == start; }

  private:
    std::string_view text_;
    int number_ = 0;
};

struct Reader {
    Lines lines;
    std::string& error;

    bool Fail(const std::string& why)
    {
        error = "line " + std::to_string(lines.Number()) + ": " + why;
        return false;
    }
    // The next line, which must begin with the word; rest is what follows it.
    bool Header(std::string_view word, std::string_view& rest)
    {
        std::string_view line;
        if (!lines.Next(line)) {
            error = "truncated: the " + std::string(word) + " line and all after it are missing";
            return false;
        }
        if (line.substr(0, word.size() + 1) != std::string(word) + ' ' || line.size() == word.size() + 1)
            return Fail("expected the " + std::string(word) + " line");
        rest = line.substr(word.size() + 1);
        return true;
    }
};

bool IsToken(std::string_view text)
{
    return text.size() == kReplayTokenChars && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool ReadStart(Reader& in, Replay& replay)
{
    std::string_view rest;
    if (!in.Header("game", rest))
        return false;
    replay.game = std::string(rest);
    if (!in.Header("edition", rest))
        return false;
    replay.edition = std::string(rest);
    if (!in.Header("date", rest))
        return false;
    replay.date = std::string(rest);
    if (in.lines.NextBegins("challenge ")) {
        if (!in.Header("challenge", rest))
            return false;
        if (!ParseDay(rest))
            return in.Fail("bad challenge: expected the day as YYYY-MM-DD");
        replay.start.challenge = std::string(rest);
    }

    ReplayStart& start = replay.start;
    std::array<std::string_view, 8> options;
    if (!in.Header("options", rest))
        return false;
    if (!ParsePairs(rest, kOptionNames, options))
        return in.Fail("bad options: expected optRound=N ... optDamage=N");
    for (std::size_t row = 0; row < options.size(); ++row)
        if (!ParseOption(row, options[row], start.options[row]))
            return in.Fail(std::string("bad value of ") + kOptionNames[row]);

    if (!in.Header("table", rest))
        return false;
    for (std::size_t k = 0; k < 5; ++k) {
        const std::size_t end = rest.find(' ');
        if ((end == std::string_view::npos) != (k == 4) || !ParseUnsigned(rest.substr(0, end), start.scores[k]))
            return in.Fail("bad table: expected the five scores of the high-score table");
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }

    std::array<std::string_view, 2> switches;
    std::uint32_t sound = 0, music = 0;
    if (!in.Header("switches", rest))
        return false;
    if (!ParsePairs(rest, std::array<const char*, 2>{"sound", "music"}, switches) ||
        !ParseUnsigned(switches[0], sound) || !ParseUnsigned(switches[1], music))
        return in.Fail("bad switches: expected sound=N music=N");
    start.soundOn = static_cast<std::int32_t>(sound);
    start.musicOn = static_cast<std::int32_t>(music);

    std::array<std::string_view, 11> program;
    if (!in.Header("program", rest))
        return false;
    if (!ParsePairs(rest, kProgramNames, program) || !ParseUnsigned(program[0], start.program.seed))
        return in.Fail("bad program values: expected seed=N sunFrame=N ... lungeTicks=N");
    const std::array<std::int32_t*, 10> fields = ProgramFields(start.program);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!ParseSigned(program[i + 1], *fields[i]))
            return in.Fail(std::string("bad value of ") + kProgramNames[i + 1]);
        if (*fields[i] < kProgramRanges[i].least || *fields[i] > kProgramRanges[i].most)
            return in.Fail(std::string(kProgramNames[i + 1]) + " must be from " +
                           std::to_string(kProgramRanges[i].least) + " to " + std::to_string(kProgramRanges[i].most));
    }
    if (!start.challenge.empty() && !IsDailyStart(start))
        return in.Fail("the game does not start from the start of the challenge of " + start.challenge);
    if (in.lines.NextBegins("token ")) {
        if (!in.Header("token", rest))
            return false;
        if (!IsToken(rest))
            return in.Fail("bad token: expected " + std::to_string(kReplayTokenChars) + " digits 0-9 and a-f");
        start.token = std::string(rest);
    }
    return true;
}

bool NameFits(std::string_view name)
{
    return name.size() <= kReplayNameBytes;
}

bool ReadResult(Reader& in, std::string_view rest, Replay& replay)
{
    std::array<std::string_view, 3> values;
    ReplayResult& result = replay.result;
    const std::size_t name = rest.find(" name=");
    if (name == std::string_view::npos ||
        !ParsePairs(rest.substr(0, name), std::array<const char*, 3>{"score", "round", "ticks"}, values) ||
        !ParseUnsigned(values[0], result.score) || !ParseUnsigned(values[1], result.round) ||
        !ParseUnsigned(values[2], result.ticks) || result.ticks == 0)
        return in.Fail("bad result: expected score=N round=N ticks=N name=TEXT");
    if (result.ticks > kReplayMaxTicks)
        return in.Fail("a game of " + std::to_string(result.ticks) + " ticks: a replay holds at most " +
                       std::to_string(kReplayMaxTicks));
    result.name = std::string(rest.substr(name + 6));
    if (!NameFits(result.name))
        return in.Fail("a name of more than " + std::to_string(kReplayNameBytes) + " bytes");
    if (!replay.commands.empty() && replay.commands.back().tick > result.ticks)
        return in.Fail("the game's " + std::to_string(result.ticks) + " ticks end before its last command");
    std::string_view line;
    while (in.lines.Next(line))
        if (line.find_first_not_of(" \t") != std::string_view::npos)
            return in.Fail("text after the result line");
    return true;
}

std::optional<ReplayAction> ActionOf(std::string_view word)
{
    for (const ReplayAction action :
         {ReplayAction::Dive, ReplayAction::Pause, ReplayAction::Sound, ReplayAction::Music, ReplayAction::Name})
        if (word == ActionWord(action))
            return action;
    return std::nullopt;
}

// More words than a dive line of the writer's has (its tick, "dive" and the
// gaps), on a line that is not a name's, whose name may hold blanks.
bool TooManyWords(std::string_view line)
{
    std::size_t words = 0;
    for (std::size_t at = 0; (at = line.find_first_not_of(' ', at)) != std::string_view::npos;) {
        const std::size_t end = line.find(' ', at);
        if (++words == 2 && line.substr(at, end - at) == "name")
            return false;
        if (words > kReplayGapsPerLine + 2)
            return true;
        at = end;
    }
    return false;
}

// The command lines, each read into the replay's commands once. A line's
// commands are parsed after the last command so far, which keeps the ticks
// from going back across lines; no line gives more than a dive line's worth.
bool ReadCommands(Reader& in, Replay& replay)
{
    std::vector<ScriptCommand> script;
    std::size_t kept = 0; // the last line's last command, kept in script
    std::string_view line;
    while (in.lines.Next(line)) {
        if (line.substr(0, 7) == "result ")
            return ReadResult(in, line.substr(7), replay);
        if (TooManyWords(line))
            return in.Fail("a dive line names at most " + std::to_string(kReplayGapsPerLine) + " gaps");
        std::string why;
        if (!ParseScriptLine(line, script, why))
            return in.Fail(why);
        for (std::size_t i = kept; i < script.size(); ++i) {
            ScriptCommand& command = script[i];
            const std::optional<ReplayAction> action = ActionOf(command.command);
            if (!action)
                return in.Fail("a replay's game is started before its first tick: no start command");
            if (command.tick > kReplayMaxTicks)
                return in.Fail("tick beyond " + std::to_string(kReplayMaxTicks));
            if (*action == ReplayAction::Name && !NameFits(command.argument))
                return in.Fail("a name of more than " + std::to_string(kReplayNameBytes) + " bytes");
            replay.commands.push_back({static_cast<std::uint32_t>(command.tick), *action, std::move(command.argument)});
        }
        if (!script.empty()) {
            script.erase(script.begin(), script.end() - 1);
            kept = 1;
        }
    }
    in.error = "truncated: the result line is missing";
    return false;
}

} // namespace

std::string ReplayTooLarge(std::uint64_t bytes)
{
    return "too large: " + std::to_string(bytes) + " bytes, where a replay holds at most " +
           std::to_string(kReplayMaxBytes);
}

std::string WriteReplayStart(const Replay& replay)
{
    const ReplayStart& start = replay.start;
    // Only a replay with the later format's lines says so: others stay
    // readable by every reader.
    const int format = start.challenge.empty() && start.token.empty() ? 1 : kReplayFormat;
    std::string out = std::string(kFormatWord) + ' ' + std::to_string(format) + '\n';
    out += "game " + replay.game + "\nedition " + replay.edition + "\ndate " + replay.date + '\n';
    if (!start.challenge.empty())
        out += "challenge " + start.challenge + '\n';
    out += "options";
    for (std::size_t row = 0; row < start.options.size(); ++row)
        out += std::string(" ") + kOptionNames[row] + '=' + OptionText(row, start.options[row]);
    out += "\ntable";
    for (const std::uint32_t score : start.scores)
        out += ' ' + std::to_string(score);
    out += "\nswitches sound=" + std::to_string(static_cast<std::uint32_t>(start.soundOn)) +
           " music=" + std::to_string(static_cast<std::uint32_t>(start.musicOn));
    out += "\nprogram seed=" + std::to_string(start.program.seed);
    ProgramState program = start.program;
    const std::array<std::int32_t*, 10> fields = ProgramFields(program);
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += std::string(" ") + kProgramNames[i + 1] + '=' + std::to_string(*fields[i]);
    out += '\n';
    if (!start.token.empty())
        out += "token " + start.token + '\n';
    return out;
}

std::string WriteReplay(const Replay& replay)
{
    std::string out = WriteReplayStart(replay);
    WriteCommands(out, replay.commands);
    const ReplayResult& result = replay.result;
    out += "result score=" + std::to_string(result.score) + " round=" + std::to_string(result.round) +
           " ticks=" + std::to_string(result.ticks) + " name=" + OneLine(result.name) + '\n';
    return out;
}

namespace {

// A whole replay, or with startOnly a start file (or a whole replay).
std::optional<Replay> ReadReplayText(std::string_view text, std::string& error, bool startOnly)
{
    error.clear();
    if (text.size() > kReplayMaxBytes) {
        error = ReplayTooLarge(text.size());
        return std::nullopt;
    }
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    Reader in{Lines(text), error};
    std::string_view line;
    if (!in.lines.Next(line) || line.substr(0, kFormatWord.size() + 1) != std::string(kFormatWord) + ' ') {
        error = text.empty() ? "not a Ruvo replay: the file is empty"
                             : "not a Ruvo replay: it does not begin with \"" + std::string(kFormatWord) + "\"";
        return std::nullopt;
    }
    std::uint32_t format = 0;
    if (!ParseUnsigned(line.substr(kFormatWord.size() + 1), format) || format == 0) {
        in.Fail("bad format version");
        return std::nullopt;
    }
    if (format > static_cast<std::uint32_t>(kReplayFormat)) {
        error = "made by a newer Ruvo: replay format " + std::to_string(format) + ", this one reads format " +
                std::to_string(kReplayFormat);
        return std::nullopt;
    }
    Replay replay;
    if (ReadStart(in, replay) && ((startOnly && in.lines.AtEnd()) || ReadCommands(in, replay)))
        return replay;
    // A last line cut off, not one written wrong.
    if (in.lines.AtEnd() && text.back() != '\n' && error.rfind("line ", 0) == 0)
        error = "truncated: line " + std::to_string(in.lines.Number()) + " is cut off";
    return std::nullopt;
}

} // namespace

std::optional<Replay> ReadReplay(std::string_view text, std::string& error)
{
    return ReadReplayText(text, error, false);
}

std::optional<Replay> ReadReplayStart(std::string_view text, std::string& error)
{
    return ReadReplayText(text, error, true);
}

} // namespace ruvo
