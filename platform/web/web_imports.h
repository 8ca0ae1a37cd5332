// What the page offers the game: the browser's services, imported from the
// page's scripts (module "ruvo"). Texts travel as UTF-8 pointer and length
// pairs into the module's memory; the page reads and writes that memory.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#define RUVO_IMPORT(name) __attribute__((import_module("ruvo"), import_name(#name)))

extern "C" {

// Window, timer and menu.
RUVO_IMPORT(window_invalidate) void ruvo_window_invalidate();
RUVO_IMPORT(window_quit) void ruvo_window_quit(std::int32_t exitCode);
RUVO_IMPORT(timer_set) void ruvo_timer_set(std::int32_t id, std::int32_t periodMs);
RUVO_IMPORT(timer_kill) void ruvo_timer_kill(std::int32_t id);
RUVO_IMPORT(menu_check) void ruvo_menu_check(std::int32_t item, std::int32_t checked);
RUVO_IMPORT(menu_enable) void ruvo_menu_enable(std::int32_t item, std::int32_t enabled);
// rgba: the whole field, 4 bytes a pixel, rows top to bottom; the rectangle is what changed.
RUVO_IMPORT(field_present)
void ruvo_field_present(const std::uint8_t* rgba, std::int32_t width, std::int32_t height, std::int32_t x,
                        std::int32_t y, std::int32_t w, std::int32_t h);

// Text: a font chosen from a request; returns its cell height in pixels.
RUVO_IMPORT(text_font)
std::int32_t ruvo_text_font(std::uint32_t font, std::int32_t height, std::int32_t weight, const char* face,
                            std::int32_t faceLength);
// Draws one letter with the top-left of its cell at (pad, pad) into mask
// (width x height bytes, 1 where the letter has ink); returns its advance.
RUVO_IMPORT(text_glyph)
std::int32_t ruvo_text_glyph(std::uint32_t font, std::uint32_t codePoint, std::uint8_t* mask, std::int32_t width,
                             std::int32_t height, std::int32_t pad);

// Settings, as stored now: the value's length, or -1
// when it is missing (the text is copied only when it fits capacity).
RUVO_IMPORT(settings_read)
std::int32_t ruvo_settings_read(const char* name, std::int32_t nameLength, char* text, std::int32_t capacity);
RUVO_IMPORT(settings_writable) std::int32_t ruvo_settings_writable();
RUVO_IMPORT(settings_write)
void ruvo_settings_write(const char* name, std::int32_t nameLength, const char* text, std::int32_t textLength);
RUVO_IMPORT(settings_commit) void ruvo_settings_commit();

// Sound effects: images are named by their address, which stays put.
RUVO_IMPORT(wave_prepare) void ruvo_wave_prepare(const std::uint8_t* image, std::int32_t size);
RUVO_IMPORT(wave_play) void ruvo_wave_play(const std::uint8_t* image, std::int32_t size);

// Music: 0 for done, as the music library answers.
RUVO_IMPORT(music_open) std::int32_t ruvo_music_open();
// Returns the new track's handle, or 0 when the file is missing or unreadable.
RUVO_IMPORT(music_load) std::uint32_t ruvo_music_load(const char* fileName, std::int32_t length);
RUVO_IMPORT(music_play) std::int32_t ruvo_music_play(std::uint32_t handle, std::int32_t repeat);
RUVO_IMPORT(music_stop) void ruvo_music_stop();
RUVO_IMPORT(music_free) std::int32_t ruvo_music_free(std::uint32_t handle);
RUVO_IMPORT(music_close) std::int32_t ruvo_music_close();

// Replays, kept by the page (a copy in memory of its IndexedDB store): the
// names, one a line; a replay's text (-1 when there is none); writing and
// removing one (1 when done).
RUVO_IMPORT(replays_list) std::int32_t ruvo_replays_list(char* text, std::int32_t capacity);
RUVO_IMPORT(replays_read)
std::int32_t ruvo_replays_read(const char* name, std::int32_t nameLength, char* text, std::int32_t capacity);
RUVO_IMPORT(replays_write)
std::int32_t ruvo_replays_write(const char* name, std::int32_t nameLength, const char* text, std::int32_t textLength);
RUVO_IMPORT(replays_remove) std::int32_t ruvo_replays_remove(const char* name, std::int32_t nameLength);
// Offers a replay's text as a download under the file name.
RUVO_IMPORT(replay_save)
void ruvo_replay_save(const char* fileName, std::int32_t fileNameLength, const char* text, std::int32_t textLength);
// The caption, shown in the page's status bar and its title; mode: 1 while
// a replay plays, 2 while a race runs, else 0.
RUVO_IMPORT(window_caption) void ruvo_window_caption(const char* text, std::int32_t length, std::int32_t mode);

// Help.
RUVO_IMPORT(help_show) void ruvo_help_show(std::int32_t show);

// The dialog font: the width of a text, and its character height, in pixels.
RUVO_IMPORT(dialog_text_width) std::int32_t ruvo_dialog_text_width(const char* text, std::int32_t length);
RUVO_IMPORT(dialog_line_height) std::int32_t ruvo_dialog_line_height();

// Dialogs, in pixels: one is built control by control, then run; dialog_run returns
// the id of the command the player gave (a button, Enter, Escape) and is the
// one import that suspends the game's call until the player answers.
RUVO_IMPORT(dialog_begin)
void ruvo_dialog_begin(const char* title, std::int32_t titleLength, std::int32_t x, std::int32_t y, std::int32_t width,
                       std::int32_t height);
RUVO_IMPORT(dialog_control)
void ruvo_dialog_control(std::int32_t kind, std::int32_t id, const char* text, std::int32_t textLength, std::int32_t x,
                         std::int32_t y, std::int32_t width, std::int32_t height, std::uint32_t style);
RUVO_IMPORT(dialog_icon)
void ruvo_dialog_icon(const std::uint8_t* rgba, std::int32_t width, std::int32_t height);
RUVO_IMPORT(dialog_set_text) void ruvo_dialog_set_text(std::int32_t id, const char* text, std::int32_t length);
RUVO_IMPORT(dialog_run) std::int32_t ruvo_dialog_run();
RUVO_IMPORT(dialog_text) std::int32_t ruvo_dialog_text(std::int32_t id, char* text, std::int32_t capacity);
RUVO_IMPORT(dialog_end) void ruvo_dialog_end();
// A list box (the Replays list): built like a control; a row holds a value
// (what dialog_text answers while it is selected) and the label shown;
// dialog_set_text on it with an empty text empties it. A double click or a
// tap on a row answers with the activate command.
RUVO_IMPORT(dialog_list)
void ruvo_dialog_list(std::int32_t id, std::int32_t activate, std::int32_t x, std::int32_t y, std::int32_t width,
                      std::int32_t height);
RUVO_IMPORT(dialog_list_add)
void ruvo_dialog_list_add(std::int32_t id, const char* value, std::int32_t valueLength, const char* label,
                          std::int32_t labelLength);
RUVO_IMPORT(dialog_enable) void ruvo_dialog_enable(std::int32_t id, std::int32_t enabled);
// The button id asks for a file first (the browser's file picker) and
// answers once one is read; dialog_file gives its name (asked for with 0) or its text (1).
RUVO_IMPORT(dialog_file_button) void ruvo_dialog_file_button(std::int32_t id);
RUVO_IMPORT(dialog_file) std::int32_t ruvo_dialog_file(std::int32_t part, char* text, std::int32_t capacity);
// The button id copies a link that plays the replay selected in the list
// (race: 1 for one that races it): the page does it all, and the game never
// hears of the button.
RUVO_IMPORT(dialog_link_button) void ruvo_dialog_link_button(std::int32_t id, std::int32_t list, std::int32_t race);
// The board that serves the page (there is one when the game heard
// ruvo_board_served): a POST of body to path, relative to the page's own
// address. The page answers the newest dialog with the command answer once
// the board has answered, or has failed to within its time; board_status then
// gives the HTTP status (0: no answer, board_answer the reason) and
// board_answer the body, of at most the board's answer limit.
RUVO_IMPORT(board_request)
void ruvo_board_request(const char* path, std::int32_t pathLength, const char* body, std::int32_t bodyLength,
                        std::int32_t answer);
RUVO_IMPORT(board_status) std::int32_t ruvo_board_status();
RUVO_IMPORT(board_answer) std::int32_t ruvo_board_answer(char* text, std::int32_t capacity);
// The button id opens a page of the site (path, relative to the page's own
// address) in a window of its own: the page does it, and the game never hears
// of the button.
RUVO_IMPORT(dialog_page_button)
void ruvo_dialog_page_button(std::int32_t id, const char* path, std::int32_t pathLength);
// A one-line message over the page's dialogs, which the page closes by itself.
RUVO_IMPORT(dialog_note) void ruvo_dialog_note(const char* text, std::int32_t length);
// A link to the game's licence and the notices of the parts it ships, below
// the dialog being built (the About box's, whose template has no room for it).
RUVO_IMPORT(dialog_licences) void ruvo_dialog_licences();
}
