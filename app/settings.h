// The settings the program keeps between runs, in a small text file in the
// user's configuration folder ($XDG_CONFIG_HOME/cube-solver/settings.conf,
// else ~/.config/cube-solver/settings.conf), one "key = value" a line:
//
//   # cube-solver settings
//   fullscreen = no
//   soft = no
//   look = clear
//   speed = 7.5
//
// Blank lines and lines starting with '#' are comments. Keys the program does
// not know are kept as they are and otherwise ignored, so that a file written
// by a later version still serves. A file that cannot be read whole (a line
// without '=', a known key with a value it cannot take, a key given twice, a
// NUL byte, a line or file too long) counts as damaged: it is reported once
// and ignored, and never rewritten. No GL or SDL here.
#pragma once

// Room for a file name and for one message about the file.
constexpr int kSettingsPathSize = 1024;
constexpr int kSettingsMessageSize = kSettingsPathSize + 160;

// A setting's value: kUnset when the file does not say.
constexpr int kUnset = -1;

struct Settings {
    int fullscreen = kUnset; // answer to "Would You Like To Run In Fullscreen Mode?"
    int soft = kUnset;       // answer to "Would You Like To Run In A Soft Mode?"
    int look = kUnset;       // 0 the plain look, 1 the clear one
    int speed = kUnset;      // the player's speed, an index into kPlayerSpeeds
};

// The program's folder under one of the user's base folders:
// "$<xdgVariable>/cube-solver" when that variable holds an absolute path,
// else "$HOME/<homeFallback>/cube-solver". Returns 0 when neither gives one
// (or it does not fit).
int userFolder(const char* xdgVariable, const char* homeFallback, char* out, int outSize);
// Makes the folder `path` and any folders above it that are missing (as
// 0700, the user's own). Returns 1, or 0 with a message naming the folder.
int makeFolders(const char* path, char* message, int messageSize);

// The settings file's name, in userFolder("XDG_CONFIG_HOME", ".config").
// Returns 0 when there is none.
int settingsPath(char* out, int outSize);

// Reads `text` (a whole file) into `out`. Returns 1, or 0 with a message
// naming the line and the fault (`out` then unchanged).
int parseSettings(const char* text, int length, Settings* out, char* message, int messageSize);

// Reads the file at `path`; a file that does not exist is no settings at all.
// Returns 1, or 0 with a message that names the file.
int loadSettings(const char* path, Settings* out, char* message, int messageSize);

// Writes the set values of `settings` into the file at `path` (its folders
// made when needed): a line of a key the file already has is replaced, the
// others are added, every other line is kept. The file is replaced whole or
// not at all. A damaged file is not touched. Returns 1, or 0 with a message.
int saveSettings(const char* path, const Settings& settings, char* message, int messageSize);
