// The recorder: the start state and the commands that took effect, kept
// while a game runs and stored when it ends.
// SPDX-License-Identifier: MIT
#include "replay/replay_record.h"

#include <chrono>
#include <cstdio>

#include "replay/daily.h"
#include "replay/replay_keep.h"
#include "replay/replay_play.h"
#include "settings/dialog_logic.h"

#ifndef RUVO_VERSION
#define RUVO_VERSION "unknown"
#endif

namespace ruvo {
namespace {

void Log(GameRecord& record, ReplayAction action)
{
    ReplayLog& log = record.replayLog;
    log.commands.push_back({log.result.ticks + 1, action, {}});
}

void FinishRecording(GameRecord& record)
{
    ReplayLog& log = record.replayLog;
    log.recording = false;
    if (log.entersTable)
        log.commands.push_back({log.result.ticks, ReplayAction::Name, log.result.name});
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    Replay replay = RecordedSoFar(record);
    replay.date = UtcDate(std::chrono::duration_cast<std::chrono::seconds>(now).count());
    if (!KeepReplay(record, replay, log.entersTable) && record.host.dialogs != nullptr) {
        const OpenDialog open(record);
        record.host.dialogs->ShowNote(kReplayNotKept);
    }
    log.commands.clear();
}

} // namespace

void BeginRecording(GameRecord& record)
{
    ReplayLog& log = record.replayLog;
    log.recording = true;
    log.tickDepth = 0;
    log.entersTable = false;
    log.start = CaptureStart(record.game, record.soundOn, record.musicOn);
    log.commands.clear();
    log.result = {};
}

void BeforeRecordedTick(GameRecord& record)
{
    ReplayLog& log = record.replayLog;
    if (!log.recording || log.tickDepth++ > 0)
        return;
    // A game longer than a replay may hold is not kept.
    if (log.result.ticks >= kReplayMaxTicks) {
        log.recording = false;
        log.commands.clear();
        return;
    }
    NoteBeforeTick(record.game, log.result, log.entersTable);
}

void AfterRecordedTick(GameRecord& record)
{
    ReplayLog& log = record.replayLog;
    if (!log.recording || --log.tickDepth > 0)
        return;
    if (GameEndedIn(record.game, log.result.ticks + 1, log.result, log.entersTable))
        FinishRecording(record);
}

ReplayWitness Witness(const GameRecord& record)
{
    return {record.game.paused, record.soundOn, record.musicOn, record.game.jumperVy};
}

void RecordCommand(GameRecord& record, const ReplayWitness& before)
{
    if (!record.replayLog.recording)
        return;
    if (record.game.paused != before.paused)
        Log(record, ReplayAction::Pause);
    if (record.soundOn != before.soundOn)
        Log(record, ReplayAction::Sound);
    if (record.musicOn != before.musicOn)
        Log(record, ReplayAction::Music);
}

void RecordDive(GameRecord& record, const ReplayWitness& before)
{
    if (record.replayLog.recording && record.game.jumperVy != before.jumperVy)
        Log(record, ReplayAction::Dive);
}

Replay RecordedSoFar(const GameRecord& record)
{
    const ReplayLog& log = record.replayLog;
    Replay replay;
    replay.game = RUVO_VERSION;
    replay.edition = record.host.edition != nullptr && *record.host.edition != '\0' ? record.host.edition : "unknown";
    replay.start = log.start;
    replay.commands = log.commands;
    replay.result = log.result;
    return replay;
}

std::string UtcDate(std::int64_t seconds)
{
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t secondOfDay = seconds - days * 86400;
    char time[32];
    std::snprintf(time, sizeof time, "T%02lld:%02lld:%02lldZ", static_cast<long long>(secondOfDay / 3600),
                  static_cast<long long>(secondOfDay / 60 % 60), static_cast<long long>(secondOfDay % 60));
    return DayText(DayOf(seconds)) + time;
}

} // namespace ruvo
