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
        // whose key is what stands before a replacement ("/") without digits.
        if (!first && !(text[0] >= 'A' && text[0] <= 'Z')) {
            for (const char c : text.substr(0, text.find('/')))
                if (!(c >= '0' && c <= '9')) line.key += c;
            if (line.key.empty()) continue;
            longest_ = std::max(longest_, line.key.size());
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
    // Every piece of every word up to the longest key, also with a dot before, after or around
    // it: the first level splits a word into parts, and each part is matched with dots at its
    // edges, so any piece can stand at an edge.
    std::unordered_set<std::string> pieces;
    for (const std::string& w : words)
        for (std::size_t start = 0; start < w.size(); ++start)
            for (std::size_t n = 1; n <= longest_ && start + n <= w.size(); ++n) {
                const std::string piece = w.substr(start, n);
                pieces.insert(piece);
                pieces.insert("." + piece);
                pieces.insert(piece + ".");
                pieces.insert("." + piece + ".");
            }
    std::unordered_set<std::string> kept;  // an empty pattern must not overwrite a real one
    for (const Line& line : lines_)
        if (!line.key.empty() && pieces.count(line.key) != 0) kept.insert(line.key);
    std::string file;
    std::unordered_set<std::string> empty_keys;
    for (const Line& line : lines_) {
        if (line.key.empty() || pieces.count(line.key) != 0) {
            file += line.text;
            file += '\n';
            continue;
        }
        // The pattern does not occur, but its beginning may: libhyphen's machine has a state for
        // it, which decides where the matching goes on. An empty pattern keeps that state.
        std::size_t n = 0;
        while (n < line.key.size() && pieces.count(line.key.substr(0, n + 1)) != 0) ++n;
        if (n == 0) continue;
        std::string state = line.key.substr(0, n);
        if (kept.count(state) == 0 && empty_keys.insert(state).second) {
            file += state;
            file += '\n';
        }
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
