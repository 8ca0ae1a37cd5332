// The in-memory machine: a window, settings, sound and dialogs that record.
// SPDX-License-Identifier: MIT
#include "platform/headless/headless_host.h"

#include "platform/kit/stored_number.h"
#include "settings/dialog_logic.h"
#include "settings/registry.h"

namespace ruvo {

std::int32_t HeadlessWindow::SetTimer(std::int32_t id, std::int32_t periodMs)
{
    timerPeriod = periodMs;
    return id;
}

void HeadlessWindow::KillTimer(std::int32_t)
{
    timerPeriod.reset();
}

void HeadlessWindow::Destroy()
{
    destroyed = true;
    timerPeriod.reset();
    if (destroyMessage)
        destroyMessage();
}

bool HeadlessWindow::IsEnabled(MenuId item) const
{
    const auto it = enabledItems.find(item);
    return it != enabledItems.end() && it->second;
}

bool MemorySettings::QueryDword(std::string_view name, std::uint32_t& value)
{
    const auto it = values.find(name);
    return it != values.end() && ParseStoredNumber(it->second, value);
}

bool MemorySettings::QueryString(std::string_view name, std::string& text, std::size_t maxBytes)
{
    const auto it = values.find(name);
    if (it == values.end() || it->second.size() > maxBytes)
        return false;
    text = it->second;
    return true;
}

bool MemorySettings::Create()
{
    return writable;
}

void MemorySettings::SetDword(std::string_view name, std::uint32_t value)
{
    values[std::string(name)] = std::to_string(value);
    written.emplace_back(name);
}

void MemorySettings::SetString(std::string_view name, std::string_view text)
{
    values[std::string(name)] = std::string(text);
    written.emplace_back(name);
}

void MemorySettings::Close()
{
    ++saves;
}

std::int32_t StandInMusic::KBGMLoadFile(std::uint32_t* handle, const char*)
{
    if (handle != nullptr)
        *handle = nextHandle_++;
    return 0;
}

std::int32_t StandInMusic::KBGMPlay(std::uint32_t handle, std::int32_t repeat)
{
    plays.push_back({handle, repeat});
    return 0;
}

int ScriptedDialogs::RunAbout()
{
    opened.push_back("about");
    return 0;
}

int ScriptedDialogs::RunOption(GameRecord& record)
{
    opened.push_back("option");
    if (whileOptionOpen)
        whileOptionOpen();
    if (!optionAnswer)
        return 0;
    std::array<std::string, 8> edits;
    for (std::size_t i = 0; i < edits.size() && i < optionAnswer->size(); ++i)
        edits[i] = (*optionAnswer)[i];
    StoreOptionEdits(record, edits);
    return 1;
}

int ScriptedDialogs::RunHighScore(GameRecord&)
{
    opened.push_back("highscore");
    return 0;
}

int ScriptedDialogs::RunInput(GameRecord& record)
{
    opened.push_back("input");
    StoreEntryName(record, nextName);
    nextName.clear(); // a scripted name answers one dialog only
    if (whileInputOpen)
        whileInputOpen();
    return 0;
}

std::vector<std::string> MemoryReplays::List()
{
    std::vector<std::string> names;
    for (const auto& [name, text] : replays)
        names.push_back(name);
    return names;
}

bool MemoryReplays::Read(std::string_view name, std::string& text)
{
    const auto it = replays.find(name);
    if (it == replays.end())
        return false;
    text = it->second;
    return true;
}

bool MemoryReplays::Write(std::string_view name, std::string_view text)
{
    if (writable)
        replays[std::string(name)] = std::string(text);
    return writable;
}

bool MemoryReplays::Remove(std::string_view name)
{
    const auto it = replays.find(name);
    if (it == replays.end())
        return false;
    replays.erase(it);
    return true;
}

void RecordingHelp::Help(std::string_view fileName, HelpCommand command)
{
    calls.push_back(std::string(command == HelpCommand::Quit ? "quit " : "finder ") + std::string(fileName));
}

} // namespace ruvo
