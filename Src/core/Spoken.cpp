#include "Spoken.h"

namespace vostrel {

std::u32string spokenWord(std::u32string_view display) {
    std::u32string spoken = U"Word:";
    for (std::size_t i = 0; i < display.size(); ++i) {
        spoken += i == 0 ? U" " : U", ";
        if (display[i] == kHidden) {
            spoken += U"blank";
        } else {
            spoken += display[i];
        }
    }
    return spoken;
}

std::string spokenTriesLeft(int misses) {
    const int left = kMaxMisses - misses;
    return std::to_string(left) + (left == 1 ? " try left" : " tries left");
}

std::string spokenGallows(int misses) {
    return "Gallows: " + std::to_string(misses) + " of " + std::to_string(kMaxMisses) + " misses";
}

std::u32string spokenAnswer(std::u32string_view answer) {
    return answer.empty() ? std::u32string(U"Answer hidden") : U"Answer: " + std::u32string(answer);
}

std::u32string spokenGuess(char32_t letter, const GuessOutcome& outcome,
                           std::u32string_view answer) {
    std::u32string spoken(1, letter);
    if (outcome.found) {
        spoken += U" found. " + spokenWord(outcome.display);
        if (outcome.end == GameEnd::Won) {
            spoken += U". " + std::u32string(kWonText);
        }
    } else if (outcome.end == GameEnd::Lost) {
        spoken += U" missed. " + std::u32string(kLostText) + U" " + spokenAnswer(answer);
    } else {
        const std::string left = spokenTriesLeft(outcome.misses);
        spoken += U" missed. " + std::u32string(left.begin(), left.end());
    }
    return spoken;
}

std::string spokenNewGame(std::size_t letters) {
    return "New game: a word of " + std::to_string(letters) +
           (letters == 1 ? " letter" : " letters");
}

}  // namespace vostrel
