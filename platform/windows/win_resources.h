// The program's resources as the system keeps them in the executable: the
// bitmaps as BITMAP resources, the sounds as WAVE, the status line's icon
// pictures as ICON16 and ICON32 (image and mask, back to back).
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "record/host.h"

namespace ruvo {

class Win32Resources final : public ResourceLibrary {
  public:
    ResourceData Find(std::string_view type, std::uint32_t id) const override;

  private:
    // A BITMAP resource holds the bitmap without its file header; the
    // engine decodes whole BMP file images, rebuilt here once per bitmap.
    mutable std::map<std::uint32_t, std::vector<std::uint8_t>> bitmapFiles_;
};

} // namespace ruvo
