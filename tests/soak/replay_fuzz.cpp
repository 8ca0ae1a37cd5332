// libFuzzer target: any bytes as a replay file, up to past the size limit.
// Reading never fails but with a one-line error; what reads is written as a
// text that reads back to the same text (a replay saved and opened again is
// the replay it was); and the game is played again from it as verifying does,
// under the sanitizers, whatever start state and commands the file gave: a
// file the reader takes must be a game the engine can play. The seeds are
// real games with bosses, hurry-ups, many rounds, game overs and names.
// SPDX-License-Identifier: MIT
#include <string>
#include <string_view>

#include "fuzz_fail.h"
#include "replay/replay_file.h"
#include "replay/replay_play.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ruvo;
    std::string error;
    const std::optional<Replay> replay = ReadReplay(std::string_view(reinterpret_cast<const char*>(data), size), error);
    if (!replay) {
        if (error.empty() || error.find('\n') != std::string::npos)
            Fail("an error that is not one line", error);
        return 0;
    }
    const std::string text = WriteReplay(*replay);
    const std::optional<Replay> again = ReadReplay(text, error);
    if (!again)
        Fail("a written replay does not read back", error + "\n" + text);
    if (WriteReplay(*again) != text)
        Fail("a written replay reads back as another", text + "---\n" + WriteReplay(*again));

    // Played as verifying plays it, but no further than a long real game
    // goes, so that the fuzzer keeps its pace: the limit's own end is ruvo-sim's test.
    ReplayPlay play;
    BeginReplayPlay(play, *again);
    for (int tick = 0; tick < 20000 && StepReplayPlay(play); ++tick) {
    }
    if (play.result.ticks > again->result.ticks)
        Fail("the game played past the replay's own end", text);
    return 0;
}
