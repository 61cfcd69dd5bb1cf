#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "WordFile.h"

namespace vostrel {

class AnsiText;
class FileSystem;

inline constexpr int kMaxMisses = 10;
inline constexpr char32_t kHidden = U'?';
inline constexpr const char* kWordFileName = "h_dat.txt";
// What the result label says at either end of a game.
inline constexpr std::u32string_view kWonText = U"You've got it !";
inline constexpr std::u32string_view kLostText = U"You are hunged !";

// Joins a folder and a file name with exactly one separator, whether or not the folder already
// ends in one (a drive or file-system root does).
std::string joinPath(std::string_view folder, std::string_view name);

// The picture shown after `misses` wrong guesses: "0.bmp" for a fresh game, up to "10.bmp".
std::string pictureName(int misses);

enum class LoadStatus { Ok, Missing, Unreadable, TooLarge, NoWords };

struct LoadResult {
    LoadStatus status = LoadStatus::Missing;
    Words words;
};

// The words of a word file's bytes, which may be more than a word list may hold, and whether
// they can be played.
LoadResult wordList(std::string bytes);

// Reads the word file from the application folder. Anything that is not a regular file (a
// folder, a device, a FIFO) counts as missing, so a new game can never block on it.
LoadResult loadWordFile(const FileSystem& files, std::string_view appFolder);

// A word of the list as text: UTF-8 where the file said so, otherwise in the system's encoding.
std::u32string decodeWord(const Words& words, std::size_t index, const AnsiText& text);

// A uniform draw from [0, count); count must not be 0.
std::size_t drawIndex(std::size_t count, std::mt19937_64& rng);

// A generator seeded afresh from the clock and the system's entropy source.
std::mt19937_64 freshRandomSource();

std::u32string maskedWord(std::size_t length);

enum class GameEnd { None, Won, Lost };

struct GuessOutcome {
    std::u32string display;  // what the masked word shows after the guess
    bool found = false;
    int misses = 0;
    GameEnd end = GameEnd::None;
};

// Judges one guessed letter: reveals it at every position of `answer` where it occurs, or counts
// a miss. Positions not guessed keep what `display` shows there (one it lacks shows as hidden).
// The tenth miss loses and leaves the display as it was; revealing the whole word wins.
GuessOutcome judgeGuess(std::u32string_view answer, std::u32string_view display, int misses,
                        char32_t letter);

}  // namespace vostrel
