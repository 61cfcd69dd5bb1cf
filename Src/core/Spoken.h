#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "Game.h"

namespace vostrel {

// What a screen reader says for the game's controls. A row of "?" reads badly aloud, so the word
// is spelled letter by letter with "blank" for each unknown one.

// "Word: a, blank, p, p, blank"
std::u32string spokenWord(std::u32string_view display);

// "7 tries left", "1 try left"
std::string spokenTriesLeft(int misses);

// "Gallows: 3 of 10 misses"
std::string spokenGallows(int misses);

// "Answer: apple", or "Answer hidden" while the game runs.
std::u32string spokenAnswer(std::u32string_view answer);

// Said unasked after a guess: "p found. Word: blank, p, p, blank, blank", "z missed. 9 tries
// left", and at the end the outcome, with the answer after a loss.
std::u32string spokenGuess(char32_t letter, const GuessOutcome& outcome,
                           std::u32string_view answer);

// Said unasked when a new game begins: "New game: a word of 5 letters"
std::string spokenNewGame(std::size_t letters);

}  // namespace vostrel
