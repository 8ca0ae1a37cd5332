// Every platform test process starts in the same surroundings, whatever the
// caller's session holds: a UTF-8 locale, no display (Qt draws offscreen, on
// two screens of its own), the silent audio driver (the tests that listen
// switch to the disk driver themselves), and settings and runtime folders of
// its own, so that no test reads or writes the player's settings. Set before
// main(), ahead of Qt and SDL.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <stdlib.h>

namespace {

class ScratchEnvironment {
  public:
    ScratchEnvironment()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "ruvo-platform-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("ruvo_desktop_tests: scratch folder");
            std::exit(1);
        }
        dir_ = pattern;
        const auto config = dir_ / "config", runtime = dir_ / "run";
        std::error_code error;
        std::filesystem::create_directories(config, error);
        std::filesystem::create_directories(runtime, error);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all, error);
        setenv("LC_ALL", "C.UTF-8", 1);
        unsetenv("LANGUAGE");
        // Two screens side by side: the usual 800 x 600 first, a 1920 x 1080
        // one to its right for the tests that take a window across.
        const auto screens = dir_ / "screens.json";
        if (std::FILE* file = std::fopen(screens.c_str(), "w")) {
            std::fputs(R"({"screens": [)"
                       R"({"name": "small", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},)"
                       R"({"name": "large", "x": 800, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}]})",
                       file);
            std::fclose(file);
        }
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens.string()).c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        unsetenv("SESSION_MANAGER");
    }
    ~ScratchEnvironment()
    {
        std::error_code error;
        std::filesystem::remove_all(dir_, error);
    }

  private:
    std::filesystem::path dir_;
};

const ScratchEnvironment scratchEnvironment;

} // namespace
