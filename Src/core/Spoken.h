#pragma once

#include <string>
#include <string_view>

namespace vostrel {

// What a screen reader says for the game's controls. A row of "?" reads badly aloud, so the word
// is spelled letter by letter with "blank" for each unknown one.

// "Word: a, blank, p, p, blank"; a word too long to spell, "Word of 100000 letters, 3 shown"
std::u32string spokenWord(std::u32string_view display);

// "7 tries left", "1 try left"
std::string spokenTriesLeft(int misses);

// "Gallows: 3 of 10 misses"
std::string spokenGallows(int misses);

// "Answer: apple", or "Answer hidden" while the game runs.
std::u32string spokenAnswer(std::u32string_view answer);

}  // namespace vostrel
