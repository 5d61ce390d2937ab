#include "toolkit/data/cxLike.h"

#include <vector>

namespace cx {

namespace {

// Length of the UTF-8 sequence that starts with this byte (a stray byte counts alone).
std::size_t CharLen(std::string_view s, std::size_t i)
{
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::size_t k = 1;
    while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80)
        ++k;
    return k;
}

struct Token {
    enum Kind { Literal, One, Any } kind;
    std::string_view text;   // the literal character
};

std::vector<Token> Tokenize(std::string_view pattern, char escape, char underscore, char percent)
{
    std::vector<Token> tokens;
    bool escaped = false;
    for (std::size_t i = 0; i < pattern.size();) {
        std::size_t n = CharLen(pattern, i);
        std::string_view c = pattern.substr(i, n);
        i += n;
        bool single = n == 1;
        if (escape != 0 && !escaped && single && c[0] == escape) {
            escaped = true;
            continue;
        }
        if (!escaped && single && c[0] == percent) {
            if (tokens.empty() || tokens.back().kind != Token::Any)
                tokens.push_back({Token::Any, {}});
        } else if (!escaped && single && c[0] == underscore) {
            tokens.push_back({Token::One, {}});
        } else {
            tokens.push_back({Token::Literal, c});
        }
        escaped = false;
    }
    return tokens;
}

} // namespace

// Iterative matching with one back-tracking point (the last percent): linear in practice and
// never exponential, whatever the number of percents in the pattern.
bool LikeMatch(std::string_view text, std::string_view pattern, char escape, char underscore, char percent)
{
    std::vector<Token> tokens = Tokenize(pattern, escape, underscore, percent);
    std::size_t ti = 0, pi = 0, np = tokens.size();
    std::size_t starP = np, starT = 0;
    while (ti < text.size()) {
        if (pi < np && tokens[pi].kind == Token::Any) {
            starP = pi++;
            starT = ti;
            continue;
        }
        std::size_t n = CharLen(text, ti);
        if (pi < np && (tokens[pi].kind == Token::One || tokens[pi].text == text.substr(ti, n))) {
            ti += n;
            ++pi;
            continue;
        }
        if (starP == np)
            return false;
        pi = starP + 1;
        starT += CharLen(text, starT);
        ti = starT;
    }
    while (pi < np && tokens[pi].kind == Token::Any)
        ++pi;
    return pi == np;
}

bool LikeStr(std::string_view text, std::string_view pattern, char percent, char underscore)
{
    return LikeMatch(text, pattern, 0, underscore, percent);
}

cxLike::TcxFilterLikeOperator LikeOperatorByPattern(std::string& pattern, char percent)
{
    const char pair[2] = {percent, percent};
    for (std::size_t p; (p = pattern.find(std::string_view(pair, 2))) != std::string::npos;)
        pattern.erase(p, 1);
    if (pattern.size() < 2)
        return floLike;
    cxLike::TcxFilterLikeOperator result = floLike;
    if (pattern.front() == percent) {
        pattern.erase(0, 1);
        result = floEndsWith;
    }
    if (!pattern.empty() && pattern.back() == percent) {
        pattern.pop_back();
        result = result == floEndsWith ? floContains : floBeginsWith;
    }
    return result;
}

} // namespace cx
