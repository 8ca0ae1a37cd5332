// The sound effects: which wave each event plays, when sound is on.
// SPDX-License-Identifier: MIT
#include "audio/audio.h"

namespace ruvo {

int PlaySoundEffect(GameRecord& record, WaveSound sound)
{
    if (record.host.wave == nullptr || sound < 0 || sound > 5)
        return 1;
    const ResourceData& resource = record.waveResources[static_cast<std::size_t>(sound)];
    record.host.wave->Play(record.waveData[static_cast<std::size_t>(sound)], resource.size);
    return 1;
}

} // namespace ruvo
