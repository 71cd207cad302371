// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/hyphenation.h"

#include <hyphen.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <unordered_set>

namespace duoskop {

namespace {

constexpr char soft_hyphen = '\xAD';

char lower(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char>(c + 32);
    return static_cast<char>(c);
}

/// A word of a text: where it starts, how long it is, whether to break it.
struct Word {
    std::size_t start = 0;
    std::size_t length = 0;
    bool breakable = false;
};

std::vector<Word> words_of(std::string_view text, std::size_t min_length)
{
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (!is_word_letter(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && is_word_letter(static_cast<unsigned char>(text[end]))) ++end;
        // A word glued to a digit or a soft hyphen is a code or already broken.
        const auto glued = [&](std::size_t at) {
            return at < text.size() && (text[at] == soft_hyphen || (text[at] >= '0' && text[at] <= '9'));
        };
        const bool glued_before = i > 0 && glued(i - 1);
        words.push_back({i, end - i, end - i >= min_length && !glued(end) && !glued_before});
        i = end;
    }
    return words;
}

std::string lowered(std::string_view word)
{
    std::string out;
    for (const char c : word) out += lower(static_cast<unsigned char>(c));
    return out;
}

struct DictFree {
    void operator()(HyphenDict* d) const { hnj_hyphen_free(d); }
};

}  // namespace

bool is_word_letter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

Hyphenator::Hyphenator(const std::filesystem::path& patterns)
{
    std::ifstream in(patterns, std::ios::binary);
    std::string text;
    bool first = true;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '%' || text[0] == '#') continue;
        Line line{text, {}};
        // The first line names the encoding; keywords are upper case; everything else is a pattern,
        // whose letters are what stands before a replacement ("/") without digits and dots.
        if (!first && !(text[0] >= 'A' && text[0] <= 'Z')) {
            for (const char c : text.substr(0, text.find('/')))
                if (!(c >= '0' && c <= '9') && c != '.') line.letters += c;
            if (line.letters.empty()) continue;
            longest_ = std::max(longest_, line.letters.size());
        }
        first = false;
        lines_.push_back(std::move(line));
    }
}

const Hyphenator& Hyphenator::german()
{
    static const Hyphenator instance{std::filesystem::path(german_patterns)};
    return instance;
}

std::string Hyphenator::patterns_for(const std::vector<std::string>& words) const
{
    // Every piece of every word up to the longest pattern; a pattern whose letters are one of
    // them can match (at the word's edges or, after the first level split it, inside it).
    std::unordered_set<std::string> pieces;
    for (const std::string& w : words)
        for (std::size_t start = 0; start < w.size(); ++start)
            for (std::size_t n = 1; n <= longest_ && start + n <= w.size(); ++n) pieces.insert(w.substr(start, n));
    std::string file;
    for (const Line& line : lines_) {
        if (!line.letters.empty() && pieces.count(line.letters) == 0) continue;
        file += line.text;
        file += '\n';
    }
    return file;
}

std::vector<std::string> Hyphenator::hyphenate(const std::vector<std::string>& texts, std::size_t min_length) const
{
    if (!loaded()) return texts;
    std::vector<std::vector<Word>> words(texts.size());
    std::vector<std::string> wanted;
    std::unordered_set<std::string> seen;
    for (std::size_t t = 0; t < texts.size(); ++t) {
        words[t] = words_of(texts[t], min_length);
        for (const Word& w : words[t])
            if (w.breakable) {
                std::string low = lowered(std::string_view(texts[t]).substr(w.start, w.length));
                if (seen.insert(low).second) wanted.push_back(std::move(low));
            }
    }
    if (wanted.empty()) return texts;

    std::string file = patterns_for(wanted);
    std::FILE* stream = ::fmemopen(file.data(), file.size(), "r");
    if (stream == nullptr) return texts;
    const std::unique_ptr<HyphenDict, DictFree> dict(hnj_hyphen_load_file(stream));
    std::fclose(stream);
    if (!dict) return texts;

    std::vector<std::string> out(texts.size());
    for (std::size_t t = 0; t < texts.size(); ++t) {
        const std::string& text = texts[t];
        std::size_t done = 0;
        for (const Word& w : words[t]) {
            out[t].append(text, done, w.start + w.length - done);
            done = w.start + w.length;
            if (!w.breakable) continue;
            const std::string low = lowered(std::string_view(text).substr(w.start, w.length));
            std::vector<char> hyphens(w.length + 5, '0');
            char** rep = nullptr;
            int* pos = nullptr;
            int* cut = nullptr;
            const int failed = hnj_hyphen_hyphenate2(dict.get(), low.c_str(), static_cast<int>(low.size()),
                                                     hyphens.data(), nullptr, &rep, &pos, &cut);
            std::string broken;
            for (std::size_t k = 0; k < w.length; ++k) {
                broken += text[w.start + k];
                const bool odd = failed == 0 && (hyphens[k] - '0') % 2 == 1;
                const bool plain = rep == nullptr || rep[k] == nullptr;  // no letters change here
                if (odd && plain && k + 1 >= 2 && w.length - (k + 1) >= 3) broken += soft_hyphen;
            }
            if (rep != nullptr) {
                for (std::size_t k = 0; k < w.length; ++k) std::free(rep[k]);
                std::free(rep);
                std::free(pos);
                std::free(cut);
            }
            out[t].resize(out[t].size() - w.length);
            out[t] += broken;
        }
        out[t].append(text, done, std::string::npos);
    }
    return out;
}

std::string Hyphenator::hyphenate(std::string_view text, std::size_t min_length) const
{
    return hyphenate(std::vector<std::string>{std::string(text)}, min_length)[0];
}

}  // namespace duoskop
