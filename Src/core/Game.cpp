#include "Game.h"

#include <algorithm>
#include <chrono>

#include "services/AnsiText.h"
#include "services/FileSystem.h"

namespace vostrel {

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != '\\') {
        path += '/';
    }
    path += name;
    return path;
}

std::string pictureName(int misses) {
    return std::to_string(misses) + ".bmp";
}

LoadResult loadWordFile(const FileSystem& files, std::string_view appFolder) {
    const std::string path = joinPath(appFolder, kWordFileName);
    LoadResult result;
    FileBytes bytes;
    switch (files.readRegularFile(path, kMaxWordFileBytes, bytes)) {
        case ReadStatus::Ok:
            break;
        case ReadStatus::NotRegular:
            result.status = LoadStatus::Missing;
            return result;
        case ReadStatus::TooLarge:
            result.status = LoadStatus::TooLarge;
            return result;
        case ReadStatus::Failed:
            result.status = LoadStatus::Unreadable;
            return result;
    }
    return wordList(bytes.release());
}

LoadResult wordList(std::string bytes) {
    LoadResult result;
    if (bytes.size() > kMaxWordFileBytes) {
        result.status = LoadStatus::TooLarge;
        return result;
    }
    result.words = Words(std::move(bytes));
    result.status = result.words.empty() ? LoadStatus::NoWords : LoadStatus::Ok;
    return result;
}

std::u32string decodeWord(const Words& words, std::size_t index, const AnsiText& text) {
    const std::string_view word = words[index];
    return decodeUtf8(words.encoding() == TextEncoding::Utf8 ? std::string(word)
                                                             : text.toUtf8(word));
}

std::size_t drawIndex(std::size_t count, std::mt19937_64& rng) {
    std::uniform_int_distribution<std::size_t> pick(0, count - 1);
    return pick(rng);
}

std::mt19937_64 freshRandomSource() {
    std::random_device entropy;
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::seed_seq seed{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32),
                       entropy(), entropy()};
    return std::mt19937_64(seed);
}

std::u32string maskedWord(std::size_t length) {
    return std::u32string(length, kHidden);
}

GuessOutcome judgeGuess(std::u32string_view answer, std::u32string_view display, int misses,
                        char32_t letter) {
    GuessOutcome outcome;
    outcome.misses = misses;
    outcome.display = display.substr(0, std::min(display.size(), answer.size()));
    outcome.display.resize(answer.size(), kHidden);
    for (std::size_t i = 0; i < answer.size(); ++i) {
        if (answer[i] == letter) {
            outcome.display[i] = letter;
            outcome.found = true;
        }
    }
    if (!outcome.found) {
        ++outcome.misses;
        if (outcome.misses >= kMaxMisses) {
            outcome.display = display;
            outcome.end = GameEnd::Lost;
            return outcome;
        }
    }
    if (outcome.display == answer) {
        outcome.end = GameEnd::Won;
    }
    return outcome;
}

}  // namespace vostrel
