// The sound effects through the system's simple wave player: a WAVE file
// image played from memory, without waiting; a new one cuts off the last.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class SystemWavePlayer final : public WavePlayer {
  public:
    void Play(const std::uint8_t* image, std::size_t size) override;
};

} // namespace ruvo
