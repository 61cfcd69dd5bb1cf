// Any bytes at all as the word file: the reader and the decoder must neither fail nor break what
// they promise about their output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Game.h"
#include "core/WordFile.h"

namespace {

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void checkDecoded(std::string_view bytes) {
    const std::u32string text = vostrel::decodeUtf8(bytes);
    require(text.size() <= bytes.size());
    bool clean = true;
    for (const char32_t c : text) {
        require(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));
        clean = clean && c != U'\uFFFD';
    }
    // Text that decoded without a replacement must be exactly what the bytes said.
    if (clean) {
        require(vostrel::encodeUtf8(text) == bytes);
    }
}

// Plays the word with every letter in turn: the display keeps the word's length, and the game
// ends within the tries there are.
void play(std::u32string_view answer) {
    std::u32string display = vostrel::maskedWord(answer.size());
    int misses = 0;
    for (char32_t letter = U'a'; letter <= U'z'; ++letter) {
        const vostrel::GuessOutcome outcome = vostrel::judgeGuess(answer, display, misses, letter);
        require(outcome.display.size() == answer.size());
        require(outcome.misses == misses + (outcome.found ? 0 : 1));
        display = outcome.display;
        misses = outcome.misses;
        if (outcome.end != vostrel::GameEnd::None) {
            require(outcome.end == vostrel::GameEnd::Lost ? misses == vostrel::kMaxMisses
                                                          : display == answer);
            return;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > vostrel::kMaxWordFileBytes) {
        return -1;  // the file reader never hands over more
    }
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const vostrel::Words words(bytes);
    const std::string_view all(bytes);
    const bool utf16 = all.starts_with("\xFF\xFE") || all.starts_with("\xFE\xFF");
    std::size_t from = 0;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string_view word = words[i];
        require(!word.empty() && word.size() <= vostrel::kMaxWordBytes);
        checkDecoded(word);
        if (utf16) {
            // Made UTF-8 from UTF-16: always well formed, whatever the units were.
            require(vostrel::encodeUtf8(vostrel::decodeUtf8(word)) == word);
            continue;
        }
        // Words are pieces of the file, in file order.
        const std::size_t at = all.find(word, from);
        require(at != std::string_view::npos);
        from = at + 1;
    }
    checkDecoded(all);
    if (!words.empty()) {
        play(vostrel::decodeUtf8(words[words.size() - 1]));
    }
    return 0;
}
