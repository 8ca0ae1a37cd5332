// The music: which track plays when, and whether it repeats.
// SPDX-License-Identifier: MIT
#include "audio/audio.h"

namespace ruvo {
namespace {

// The round and boss tracks repeat until stopped; title and fanfare play once.
std::int32_t RepeatFlag(std::int32_t track)
{
    return track == MusicRound || track == MusicBoss ? 1 : 0;
}

} // namespace

int OpenMusic(GameRecord& record)
{
    MusicLibrary* music = record.host.music;
    record.musicReady = music != nullptr && music->KBGMOpen(10, -1) == 0 ? 1 : 0;
    return 1;
}

int LoadMusic(GameRecord& record)
{
    MusicLibrary* music = record.host.music;
    if (music == nullptr)
        return 1;
    for (std::size_t i = 0; i < 4; ++i)
        music->KBGMLoadFile(&record.musicHandles[i], kMusicFiles[i]);
    return 1;
}

int PlayMusic(GameRecord& record, std::int32_t track)
{
    MusicLibrary* music = record.host.music;
    if (record.musicReady == 0 || music == nullptr)
        return 0;
    if (track < 0 || track > 3)
        return 0;
    const std::uint32_t handle = record.musicHandles[static_cast<std::size_t>(track)];
    if (handle == 0)
        return 0;
    music->KBGMStop();
    music->KBGMPlay(handle, RepeatFlag(track));
    return 1;
}

int StopMusic(GameRecord& record)
{
    if (record.musicReady == 0 || record.host.music == nullptr)
        return 0;
    record.host.music->KBGMStop();
    return 1;
}

int CloseMusic(GameRecord& record)
{
    MusicLibrary* music = record.host.music;
    if (music == nullptr)
        return 1;
    music->KBGMStop();
    if (record.musicReady == 1)
        music->KBGMClose();
    return 1;
}

int FreeMusic(GameRecord& record)
{
    MusicLibrary* music = record.host.music;
    if (music == nullptr)
        return 1;
    music->KBGMStop();
    for (std::size_t i = 0; i < 4; ++i)
        music->KBGMFree(record.musicHandles[i]);
    return 1;
}

void SelectMusic(Game& game, MusicTrack track)
{
    game.musicTrack = track;
    Ask(game, AskFor::Music, track);
}

void SelectMusic(GameRecord& record, MusicTrack track)
{
    record.game.musicTrack = track;
    if (record.musicOn != 0)
        PlayMusic(record, track);
}

} // namespace ruvo
