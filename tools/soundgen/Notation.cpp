#include "Notation.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tonovka::soundgen {

namespace {

[[noreturn]] void reject(std::string_view what, std::string_view text)
{
    throw std::invalid_argument(std::string(what) + ": \"" + std::string(text) + "\"");
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        const std::size_t end = std::min(text.find(separator, begin), text.size());
        const std::string_view part = text.substr(begin, end - begin);
        const auto first = part.find_first_not_of(' ');
        if (first != std::string_view::npos)
            parts.push_back(part.substr(first, part.find_last_not_of(' ') - first + 1));
        else if (separator != ' ')
            parts.push_back({});
        begin = end + 1;
    }
    return parts;
}

int parseNumber(std::string_view text, std::string_view token)
{
    if (text.empty() || text.size() > 2)
        reject("not a number", token);
    int value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            reject("not a number", token);
        value = value * 10 + (digit - '0');
    }
    return value;
}

// "C" to "B" with an optional "#" or "b"; returns the pitch class and how many
// characters the name took.
std::pair<int, std::size_t> parsePitchClass(std::string_view text)
{
    static constexpr std::string_view letters = "C.D.EF.G.A.B";
    const auto letter = text.empty() ? std::string_view::npos : letters.find(text[0]);
    if (letter == std::string_view::npos || text[0] == '.')
        reject("not a note name", text);
    int pitchClass = static_cast<int>(letter);
    std::size_t used = 1;
    if (text.size() > 1 && (text[1] == '#' || text[1] == 'b')) {
        pitchClass += text[1] == '#' ? 1 : 11;
        used = 2;
    }
    return {pitchClass % 12, used};
}

} // namespace

Melody parseMelody(std::string_view text)
{
    std::vector<Tone> tones;
    int step = 0;
    for (const std::string_view token : split(text, ' ')) {
        if (token == "|") {
            if (step % stepsPerBar != 0)
                reject("bar line inside a bar", text);
            continue;
        }
        const auto colon = token.find(':');
        if (colon == std::string_view::npos)
            reject("note without a length", token);
        const int steps = parseNumber(token.substr(colon + 1), token);
        if (steps == 0)
            reject("note of no length", token);
        const std::string_view name = token.substr(0, colon);
        if (name != "-") {
            const auto [pitchClass, used] = parsePitchClass(name);
            const int octave = parseNumber(name.substr(used), token);
            tones.push_back({step, steps, 12 * (octave + 1) + pitchClass});
        }
        step += steps;
    }
    if (step % stepsPerBar != 0)
        reject("melody does not fill its last bar", text);
    return {tones, step / stepsPerBar};
}

std::vector<std::vector<Chord>> parseChords(std::string_view text)
{
    std::vector<std::vector<Chord>> bars;
    for (const std::string_view barText : split(text, '|')) {
        std::vector<Chord> bar;
        for (const std::string_view name : split(barText, ' ')) {
            const auto [root, used] = parsePitchClass(name);
            const std::string_view rest = name.substr(used);
            if (rest != "" && rest != "m")
                reject("unknown chord", name);
            bar.push_back({root, rest == "m"});
        }
        if (bar.empty() || stepsPerBar % bar.size() != 0)
            reject("a bar needs 1, 2 or 4 chords", barText);
        bars.push_back(bar);
    }
    return bars;
}

Chord chordAt(const std::vector<Chord>& bar, int step)
{
    return bar[static_cast<std::size_t>(step) * bar.size() / stepsPerBar];
}

std::vector<Hit> parsePattern(std::string_view pattern)
{
    if (pattern.size() != stepsPerBar)
        reject("a pattern needs one character a step", pattern);
    std::vector<Hit> hits;
    for (int step = 0; step < stepsPerBar; ++step) {
        const char c = pattern[static_cast<std::size_t>(step)];
        if (c == '.')
            continue;
        if (c == '=') {
            if (hits.empty() || hits.back().step + hits.back().steps != step)
                reject("nothing to hold", pattern);
            ++hits.back().steps;
        } else if (c >= 'A' && c <= 'Z') {
            hits.push_back({step, 1, static_cast<char>(c - 'A' + 'a'), true});
        } else if (c >= 'a' && c <= 'z') {
            hits.push_back({step, 1, c, false});
        } else {
            reject("unknown pattern character", pattern);
        }
    }
    return hits;
}

int keyAtOrAbove(int pitchClass, int lowestKey)
{
    return lowestKey + ((pitchClass - lowestKey) % 12 + 12) % 12;
}

} // namespace tonovka::soundgen
