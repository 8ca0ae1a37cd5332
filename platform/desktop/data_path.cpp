// Where the game's data files are found on Linux.
// SPDX-License-Identifier: MIT
#include "platform/desktop/data_path.h"

#include <SDL.h>

#include <filesystem>
#include <system_error>

namespace ruvo {

std::string FindDataFile(std::string_view fileName)
{
    namespace fs = std::filesystem;
    if (fileName.empty() || fileName.find('/') != std::string_view::npos ||
        fileName.find('\\') != std::string_view::npos)
        return {};
    char* base = SDL_GetBasePath();
    if (base == nullptr)
        return {};
    const fs::path exeDir(base);
    SDL_free(base);
    const fs::path candidates[] = {exeDir / fileName, exeDir / ".." / "share" / "ruvo" / fileName};
    std::error_code error;
    for (const fs::path& candidate : candidates)
        if (fs::is_regular_file(candidate, error))
            return candidate.lexically_normal().string();
    return {};
}

} // namespace ruvo
