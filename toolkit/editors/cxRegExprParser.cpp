// Lexer and parser of the mask expressions. The lexer turns the source into lexems with their
// line and column; the parser builds the tree of alternatives, items and quantifiers. Both keep
// going after an error so that one compilation reports everything it can.
#include "toolkit/editors/cxRegExpr.h"

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {

bool IsRegExprSpace(char16_t ch)
{
    return ch == 0 || ch == 9 || ch == 10 || ch == 12 || ch == 13 || ch == 32;
}

bool IsQuote(char16_t ch)
{
    return ch == u'\'' || ch == u'"';
}

std::string CharText(char16_t ch)
{
    return Utf16ToUtf8(std::u16string(1, ch));
}

std::string Msg(const TResStringRec& rec)
{
    return cxGetResourceString(&rec);
}

std::string Msg(const TResStringRec& rec, const std::string& arg)
{
    return rtl::Format(cxGetResourceString(&rec), arg);
}

int HexValue(char16_t ch)
{
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    return -1;
}

// The tree of an expression is walked recursively (wiring, copying, printing, freeing it), so its
// height is bounded: parentheses nested deeper, or quantifiers and counts that would wrap an item
// deeper, are refused. The bound leaves room for a{0,1000}, whose optional copies nest.
constexpr int MaxDepth = 1024;

class TcxRegExprLexer {
public:
    TcxRegExprLexer(const std::u16string& source, TcxLexems& lexems, TcxRegExprErrors& errors)
        : src_(source), lexems_(lexems), errors_(errors) {}

    void Run()
    {
        char16_t ch;
        while (ReadNonSpace(ch))
            ScanOutside(ch);
        if (depth_ > 0)
            errors_.Add({0, 0, Msg(scxRegExprMissing, ")")});
        else if (depth_ < 0)
            errors_.Add({0, 0, Msg(scxRegExprUnnecessary, ")")});
    }

private:
    bool Read(char16_t& ch)
    {
        if (index_ >= src_.size())
            return false;
        ch = src_[index_++];
        if (ch == 13)
            ++line_;
        else if (ch == 10)
            column_ = 0;
        else
            ++column_;
        return true;
    }

    bool ReadNonSpace(char16_t& ch)
    {
        while (Read(ch))
            if (!IsRegExprSpace(ch))
                return true;
        return false;
    }

    bool PeekNonSpace(char16_t& ch) const
    {
        for (std::size_t i = index_; i < src_.size(); ++i)
            if (!IsRegExprSpace(src_[i])) {
                ch = src_[i];
                return true;
            }
        return false;
    }

    void Emit(TcxRegExprLexemCode code, std::u16string text) { lexems_.push_back({line_, column_, code, std::move(text)}); }
    void EmitAt(int line, int column, TcxRegExprLexemCode code, std::u16string text)
    {
        lexems_.push_back({line, column, code, std::move(text)});
    }
    void Error(const std::string& message) { errors_.Add({line_, column_, message}); }
    void ErrorAtNext(const std::string& message) { errors_.Add({line_, column_ + 1, message}); }

    // Quotes, escapes and the two separators read alike inside and outside brackets.
    bool ScanCommon(char16_t ch)
    {
        if (IsQuote(ch))
            ScanQuoted(ch);
        else if (ch == u'\\')
            ScanEscape();
        else if (ch == u'/')
            Emit(relcDateSeparator, u"/");
        else if (ch == u':')
            Emit(relcTimeSeparator, u":");
        else
            return false;
        return true;
    }

    void ScanOutside(char16_t ch)
    {
        if (ScanCommon(ch))
            return;
        switch (ch) {
        case u'(':
            if (++depth_ > MaxDepth && !tooDeep_) {
                tooDeep_ = true;
                Error(Msg(scxRegExprTooDeep));
            }
            Emit(relcSpecial, u"(");
            break;
        case u')': --depth_; Emit(relcSpecial, u")"); break;
        case u'*': case u'+': case u'?': case u'|': Emit(relcSpecial, std::u16string(1, ch)); break;
        case u'.': Emit(relcAll, u"."); break;
        case u'[': Emit(relcSpecial, u"["); ScanBrackets(); break;
        case u'{': Emit(relcSpecial, u"{"); ScanBraces(); break;
        default: Emit(relcSymbol, std::u16string(1, ch)); break;
        }
    }

    void ScanQuoted(char16_t quote)
    {
        char16_t ch;
        while (Read(ch)) {
            if (ch == quote) {
                if (index_ < src_.size() && src_[index_] == quote) {
                    Read(ch);
                    Emit(relcSymbol, std::u16string(1, quote));
                    continue;
                }
                return;
            }
            Emit(relcSymbol, std::u16string(1, ch));
        }
        ErrorAtNext(Msg(scxRegExprMissing, CharText(quote)));
    }

    void ScanEscape()
    {
        const int line = line_, column = column_;
        char16_t ch;
        if (!Read(ch))
            return;
        auto put = [&](TcxRegExprLexemCode code, char16_t c) { EmitAt(line, column, code, std::u16string(1, c)); };
        if (ch >= u'1' && ch <= u'9')
            return put(relcReference, ch);
        switch (ch) {
        case u'd': return put(relcDigit, ch);
        case u'D': return put(relcNotDigit, ch);
        case u'w': return put(relcId, ch);
        case u'W': return put(relcNotId, ch);
        case u's': return put(relcSpace, ch);
        case u'S': return put(relcNotSpace, ch);
        case u'a': return put(relcSymbol, 7);
        case u'e': return put(relcSymbol, 27);
        case u'f': return put(relcSymbol, 12);
        case u'n': return put(relcSymbol, 10);
        case u'r': return put(relcSymbol, 13);
        case u't': return put(relcSymbol, 9);
        case u'p':
            return put(relcSymbol, char16_t(static_cast<unsigned char>(LocaleService().FormatSettings().DecimalSeparator)));
        case u'x': return ScanHex(line, column);
        default:
            if (IsRegExprSpace(ch))
                return Error(Msg(scxRegExprIncorrectSpace));
            return put(relcSymbol, ch);
        }
    }

    void ScanHex(int line, int column)
    {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            char16_t ch;
            if (!Read(ch))
                return ErrorAtNext(Msg(scxRegExprHexNumberExpected0));
            const int digit = HexValue(ch);
            if (digit < 0)
                return Error(Msg(scxRegExprHexNumberExpected, CharText(ch)));
            value = value * 16 + digit;
        }
        EmitAt(line, column, relcSymbol, std::u16string(1, char16_t(value)));
    }

    // The first character after "[" stands for itself unless it is "^" or "]": [-a] holds "-"
    // and "a".
    void ScanBrackets()
    {
        char16_t ch;
        bool first = true;
        while (ReadNonSpace(ch)) {
            if (ScanCommon(ch)) {
            } else if (first && (ch == u'^' || ch == u']')) {
                Emit(relcSpecial, std::u16string(1, ch));
                if (ch == u']')
                    return;
            } else if (ch == u']') {
                return Emit(relcSpecial, u"]");
            } else if (ch == u'-' && !first) {
                char16_t next;
                const bool beforeEnd = PeekNonSpace(next) && next == u']';
                Emit(beforeEnd ? relcSymbol : relcSpecial, u"-");
            } else
                Emit(relcSymbol, std::u16string(1, ch));
            first = false;
        }
        ErrorAtNext(Msg(scxRegExprMissing, "]"));
    }

    void ScanBraces()
    {
        char16_t ch;
        while (ReadNonSpace(ch)) {
            if (ch >= u'0' && ch <= u'9') {
                const int line = line_, column = column_;
                std::u16string digits(1, ch);
                while (index_ < src_.size() && src_[index_] >= u'0' && src_[index_] <= u'9') {
                    Read(ch);
                    digits += ch;
                }
                EmitAt(line, column, relcInteger, digits);
            } else if (ch == u',')
                Emit(relcSpecial, u",");
            else if (ch == u'}')
                return Emit(relcSpecial, u"}");
            else
                Error(Msg(scxRegExprIllegalSymbol, CharText(ch)));
        }
        ErrorAtNext(Msg(scxRegExprMissing, "}"));
    }

    const std::u16string& src_;
    TcxLexems& lexems_;
    TcxRegExprErrors& errors_;
    std::size_t index_ = 0;
    int line_ = 1;
    int column_ = 0;
    int depth_ = 0;
    bool tooDeep_ = false;
};

// ---- parser -----------------------------------------------------------------------------------

// Expansion of {n,m} clones the item; a count beyond this, or an expression that would grow past
// the state budget, is refused instead of being allocated.
constexpr long long MaxQuantifierCount = 1000;
constexpr long long MaxStates = 100000;

enum class AltEnd { Bar, Close, End };

using ItemPtr = std::unique_ptr<TcxRegExprParserItem>;

// Every step costs time in proportion to what it builds: items keep their state count, height
// and emptiness, so nothing walks a finished subtree again, and only the blocks that a reference
// names (\1 to \9) keep a copy of themselves.
class TcxRegExprParser {
public:
    TcxRegExprParser(const TcxLexems& lexems, TcxRegExprErrors& errors) : lex_(lexems), errors_(errors) {}

    std::unique_ptr<TcxRegExprAutomat> Run()
    {
        for (const TcxLexem& l : lex_)
            if (l.Code == relcReference)
                referenced_[l.Text[0] - u'0'] = true;
        TcxRegExprParserAlts alts;
        AltEnd end;
        do {
            auto alt = std::make_unique<TcxRegExprParserAlt>();
            end = ParseAlt(*alt, false);
            alts.push_back(std::move(alt));
        } while (end != AltEnd::End);
        if (errors_.Count() > 0)
            return nullptr;
        return std::make_unique<TcxRegExprAutomat>(std::move(alts));
    }

private:
    bool AtEnd() const { return pos_ >= lex_.size(); }
    static bool IsSpecial(const TcxLexem& l, char16_t ch) { return l.Code == relcSpecial && l.Text[0] == ch; }
    void Error(const TcxLexem& l, const std::string& message) { errors_.Add({l.Line, l.Column, message}); }

    // An item of the given height fits at the current nesting; otherwise the error is recorded.
    bool Fits(const TcxLexem& l, long long depth)
    {
        if (nesting_ + depth <= MaxDepth)
            return true;
        Error(l, Msg(scxRegExprTooDeep));
        return false;
    }

    AltEnd ParseAlt(TcxRegExprParserAlt& alt, bool inBlock)
    {
        bool first = true;
        while (!AtEnd()) {
            const TcxLexem& l = lex_[pos_++];
            if (first && IsSpecial(l, u'|')) {
                Error(l, Msg(scxRegExprCantCreateEmptyAlt));
                return AltEnd::Bar;
            }
            if (first && inBlock && IsSpecial(l, u')')) {
                Error(l, Msg(scxRegExprCantCreateEmptyBlock));
                return AltEnd::Close;
            }
            first = false;
            if (l.Code == relcSpecial) {
                if (IsSpecial(l, u'|'))
                    return AltEnd::Bar;
                if (IsSpecial(l, u')')) {
                    if (inBlock)
                        return AltEnd::Close;
                    Error(l, Msg(scxRegExprIllegalSymbol, ")"));
                } else
                    ParseSpecial(alt, l);
            } else
                ParseOther(alt, l);
        }
        if (first)
            errors_.Add({0, 0, Msg(scxRegExprCantCreateEmptyAlt)});
        return AltEnd::End;
    }

    void ParseSpecial(TcxRegExprParserAlt& alt, const TcxLexem& l)
    {
        switch (l.Text[0]) {
        case u'(': Append(alt, ParseBlock()); break;
        case u'*': ApplyQuantifier(alt, l, std::make_unique<TcxRegExprStarQuantifier>(), scxRegExprCantUseStarQuantifier); break;
        case u'+': ApplyQuantifier(alt, l, std::make_unique<TcxRegExprPlusQuantifier>(), scxRegExprCantUsePlusQuantifier); break;
        case u'?': ApplyQuantifier(alt, l, std::make_unique<TcxRegExprQuestionQuantifier>(), scxRegExprCantUseStarQuantifier); break;
        case u'{': ParseParameterQuantifier(alt, l); break;
        case u'[': ParseEnumeration(alt); break;
        default: Error(l, Msg(scxRegExprIllegalSymbol, CharText(l.Text[0]))); break;
        }
    }

    void ParseOther(TcxRegExprParserAlt& alt, const TcxLexem& l)
    {
        if (l.Code == relcInteger)
            return Error(l, Msg(scxRegExprIllegalIntegerValue));
        if (l.Code == relcReference) {
            const std::size_t n = l.Text[0] - u'0';
            if (n > blocks_.size())
                return Error(l, Msg(scxRegExprTooBigReferenceNumber));
            const TcxRegExprParserItem& block = *blocks_[n - 1];
            if (Fits(l, block.Depth()) && Spend(l, block.StateCount()))
                alt.Items.push_back(block.Clone());
            return;
        }
        Append(alt, std::make_unique<TcxRegExprParserSimpleItem>(CharItem(l)));
    }

    static std::unique_ptr<TcxRegExprItem> CharItem(const TcxLexem& l)
    {
        switch (l.Code) {
        case relcAll: return std::make_unique<TcxRegExprAll>();
        case relcId: return std::make_unique<TcxRegExprIdLetter>(false);
        case relcNotId: return std::make_unique<TcxRegExprIdLetter>(true);
        case relcDigit: return std::make_unique<TcxRegExprDigit>(false);
        case relcNotDigit: return std::make_unique<TcxRegExprDigit>(true);
        case relcSpace: return std::make_unique<TcxRegExprSpace>(false);
        case relcNotSpace: return std::make_unique<TcxRegExprSpace>(true);
        case relcDateSeparator: return std::make_unique<TcxRegExprDateSeparator>();
        case relcTimeSeparator: return std::make_unique<TcxRegExprTimeSeparator>();
        default: return std::make_unique<TcxRegExprSymbol>(l.Text[0]);
        }
    }

    void Append(TcxRegExprParserAlt& alt, ItemPtr item)
    {
        states_ += item->StateCount();
        alt.Items.push_back(std::move(item));
    }

    // The lexer refused parentheses nested deeper than the bound, so this recursion is bounded.
    ItemPtr ParseBlock()
    {
        auto block = std::make_unique<TcxRegExprParserBlockItem>();
        const std::size_t index = blocks_.size();
        blocks_.push_back(block.get());
        ++nesting_;
        AltEnd end;
        do {
            auto alt = std::make_unique<TcxRegExprParserAlt>();
            end = ParseAlt(*alt, true);
            block->Alts.push_back(std::move(alt));
        } while (end == AltEnd::Bar);
        --nesting_;
        block->Close();
        // The block's own states were not counted by Append while its items were.
        states_ -= block->StateCount() - 2;
        // A later quantifier may replace the block itself; a reference clones a copy taken now.
        if (index + 1 < std::size(referenced_) && referenced_[index + 1]) {
            snapshots_.push_back(block->Clone());
            blocks_[index] = snapshots_.back().get();
        }
        return block;
    }

    // Gives the item the quantifier, or wraps it in a block that carries it (a*? is (a*)?).
    static void Quantify(ItemPtr& slot, std::unique_ptr<TcxRegExprQuantifier> quantifier)
    {
        if (slot->HasSimpleQuantifier()) {
            slot->SetQuantifier(std::move(quantifier));
            return;
        }
        auto block = std::make_unique<TcxRegExprParserBlockItem>();
        block->SetQuantifier(std::move(quantifier));
        block->Alts.push_back(std::make_unique<TcxRegExprParserAlt>());
        block->Alts[0]->Items.push_back(std::move(slot));
        block->Close();
        slot = std::move(block);
    }

    void ApplyQuantifier(TcxRegExprParserAlt& alt, const TcxLexem& l, std::unique_ptr<TcxRegExprQuantifier> quantifier,
                         const TResStringRec& cannotApply)
    {
        if (alt.Items.empty())
            return Error(l, Msg(scxRegExprIllegalQuantifier, CharText(l.Text[0])));
        ItemPtr& item = alt.Items.back();
        if (quantifier->CanRepeat() && item->CanEmpty())
            return Error(l, Msg(cannotApply));
        if (item->HasSimpleQuantifier()) {
            item->SetQuantifier(std::move(quantifier));
            return;
        }
        if (!Fits(l, item->Depth() + 1))
            return;
        Quantify(item, std::move(quantifier));
        states_ += 2;
    }

    bool Spend(const TcxLexem& l, long long states)
    {
        if (states > MaxStates - states_) {
            Error(l, Msg(scxRegExprIncorrectParameterQuantifier));
            return false;
        }
        states_ += states;
        return true;
    }

    // Reads "n}", "n,}" or "n,m}" after the brace; m is -1 for "n,}" and n for "n}".
    bool ReadCounts(long long& n, long long& m)
    {
        auto integer = [&](long long& value) {
            if (AtEnd() || lex_[pos_].Code != relcInteger)
                return false;
            value = 0;
            for (char16_t d : lex_[pos_++].Text) {
                value = value * 10 + (d - u'0');
                if (value > MaxQuantifierCount)
                    return false;
            }
            return true;
        };
        auto special = [&](char16_t ch) {
            if (AtEnd() || !IsSpecial(lex_[pos_], ch))
                return false;
            ++pos_;
            return true;
        };
        if (!integer(n))
            return false;
        if (special(u'}')) {
            m = n;
            return true;
        }
        if (!special(u','))
            return false;
        if (special(u'}')) {
            m = -1;
            return true;
        }
        return integer(m) && m >= n && special(u'}');
    }

    void SkipBraces()
    {
        while (!AtEnd())
            if (IsSpecial(lex_[pos_++], u'}'))
                return;
    }

    void ParseParameterQuantifier(TcxRegExprParserAlt& alt, const TcxLexem& l)
    {
        long long n = 0, m = 0;
        if (!ReadCounts(n, m) || alt.Items.empty()) {
            SkipBraces();
            return Error(l, Msg(scxRegExprIncorrectParameterQuantifier));
        }
        ItemPtr& item = alt.Items.back();
        // A star on an item that can match nothing would loop through its transparent block.
        if (item->CanMissing() || (m < 0 && item->CanEmpty()))
            return Error(l, Msg(scxRegExprCantUseParameterQuantifier));
        // The expansion's height: its own block, the chain of optional copies, a wrapped copy.
        if (!Fits(l, item->Depth() + 2 + (m > n ? m - n : 0)))
            return;
        const long long copies = m < 0 ? n + 1 : m;
        if (!Spend(l, item->StateCount() * copies + 2 * (copies + 1)))
            return;
        item = Expand(*item, n, m);
    }

    static ItemPtr Expand(const TcxRegExprParserItem& item, long long n, long long m)
    {
        auto result = std::make_unique<TcxRegExprParserBlockItem>();
        auto alt = std::make_unique<TcxRegExprParserAlt>();
        for (long long i = 0; i < n; ++i)
            alt->Items.push_back(item.Clone());
        if (m < 0) {
            alt->Items.push_back(item.Clone());
            Quantify(alt->Items.back(), std::make_unique<TcxRegExprStarQuantifier>());
        } else if (m > n) {
            // Each optional copy is allowed only after the one before it.
            ItemPtr chain = item.Clone();
            Quantify(chain, std::make_unique<TcxRegExprQuestionQuantifier>());
            for (long long i = n + 1; i < m; ++i) {
                auto block = std::make_unique<TcxRegExprParserBlockItem>();
                block->SetQuantifier(std::make_unique<TcxRegExprQuestionQuantifier>());
                auto inner = std::make_unique<TcxRegExprParserAlt>();
                inner->Items.push_back(item.Clone());
                inner->Items.push_back(std::move(chain));
                block->Alts.push_back(std::move(inner));
                block->Close();
                chain = std::move(block);
            }
            alt->Items.push_back(std::move(chain));
        }
        result->Alts.push_back(std::move(alt));
        result->Close();
        return result;
    }

    static std::unique_ptr<TcxRegExprItem> EnumerationItem(const TcxLexem& l)
    {
        if (l.Code == relcReference)
            return std::make_unique<TcxRegExprSymbol>(l.Text[0]);
        return CharItem(l);
    }

    void ParseEnumeration(TcxRegExprParserAlt& alt)
    {
        bool inverse = false;
        if (!AtEnd() && IsSpecial(lex_[pos_], u'^')) {
            inverse = true;
            ++pos_;
        }
        if (!AtEnd() && IsSpecial(lex_[pos_], u']'))
            return Error(lex_[pos_++], Msg(scxRegExprCantCreateEmptyEnum));
        auto enumeration = std::make_unique<TcxRegExprUserEnumeration>(inverse);
        while (!AtEnd()) {
            const TcxLexem& l = lex_[pos_++];
            if (IsSpecial(l, u']'))
                break;
            if (IsSpecial(l, u'-')) {
                Error(l, Msg(scxRegExprIllegalSymbol, "-"));
                continue;
            }
            if (!AtEnd() && IsSpecial(lex_[pos_], u'-') && pos_ + 1 < lex_.size()) {
                const TcxLexem& dash = lex_[pos_++];
                const TcxLexem& finish = lex_[pos_++];
                if (l.Code != relcSymbol || finish.Code != relcSymbol)
                    Error(dash, Msg(scxRegExprIllegalSymbol, "-"));
                else if (l.Text[0] < finish.Text[0])
                    enumeration->Add(std::make_unique<TcxRegExprSubrange>(l.Text[0], finish.Text[0]));
                else
                    Error(finish, Msg(scxRegExprSubrangeOrder));
                continue;
            }
            enumeration->Add(EnumerationItem(l));
        }
        Append(alt, std::make_unique<TcxRegExprParserSimpleItem>(std::move(enumeration)));
    }

    const TcxLexems& lex_;
    TcxRegExprErrors& errors_;
    std::size_t pos_ = 0;
    // The blocks in the order they were opened; a named one points to its copy once closed.
    std::vector<const TcxRegExprParserItem*> blocks_;
    std::vector<ItemPtr> snapshots_;
    bool referenced_[10] = {};
    long long nesting_ = 0;
    long long states_ = 1;
};

} // namespace

void cxRegExprScan(const std::u16string& source, TcxLexems& lexems, TcxRegExprErrors& errors)
{
    TcxRegExprLexer(source, lexems, errors).Run();
}

std::unique_ptr<TcxRegExprAutomat> cxRegExprParse(const TcxLexems& lexems, TcxRegExprErrors& errors)
{
    return TcxRegExprParser(lexems, errors).Run();
}

} // namespace cx
