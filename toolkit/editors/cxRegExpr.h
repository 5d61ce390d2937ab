#pragma once
// cxRegExpr: the regular-expression engine behind the regular-expression masks. It does not
// search: the expression becomes a nondeterministic automaton that is fed one typed character at
// a time, can step back through a history of state sets, and can report the characters that the
// expression forces next (completion). Characters are UTF-16 units, as the text editor counts them.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Event.h"
#include "platform/rtl/Streams.h"
#include "toolkit/editors/cxEditControl.h"

namespace cx {

enum TcxRegExprLexemCode {
    relcSymbol, relcSpecial, relcInteger, relcAll, relcId, relcNotId, relcDigit, relcNotDigit,
    relcSpace, relcNotSpace, relcReference, relcDateSeparator, relcTimeSeparator
};

struct TcxLexem {
    int Line = 0;
    int Column = 0;
    TcxRegExprLexemCode Code = relcSymbol;
    std::u16string Text;
};
using TcxLexems = std::vector<TcxLexem>;

// ---- errors -----------------------------------------------------------------------------------

class TcxRegExprError {
public:
    TcxRegExprError(int line, int column, std::string message)
        : Line(line), Column(column), Message(std::move(message)) {}
    TcxRegExprError Clone() const { return *this; }
    // "Line1, Char5: Illegal ')'"; the position parts only when known.
    std::string GetFullMessage() const;

    int Line;
    int Column;
    std::string Message;
};

class TcxRegExprErrors {
public:
    void Add(TcxRegExprError error) { items_.push_back(std::move(error)); }
    void Clear() { items_.clear(); }
    TcxRegExprErrors Clone() const { return *this; }
    int Count() const { return static_cast<int>(items_.size()); }
    const TcxRegExprError& Items(int index) const { return items_[index]; }

private:
    std::vector<TcxRegExprError> items_;
};

// Carries every error one compilation found; Message joins their full messages, one a line.
class EcxRegExprError : public EcxEditError {
public:
    explicit EcxRegExprError(TcxRegExprErrors errors);
    TcxRegExprErrors Errors;
};

// ---- character items --------------------------------------------------------------------------

class TcxRegExprItem {
public:
    virtual ~TcxRegExprItem() = default;
    // May replace ch by the pattern's own character when it accepts it.
    virtual bool Check(char16_t& ch, bool caseInsensitive) const = 0;
    virtual std::unique_ptr<TcxRegExprItem> Clone() const = 0;
    // The one character this item stands for, when it stands for exactly one.
    virtual bool ForcedChar(char16_t&) const { return false; }
};

class TcxRegExprSymbol : public TcxRegExprItem {
public:
    explicit TcxRegExprSymbol(char16_t ch) : ch_(ch) {}
    bool Check(char16_t& ch, bool caseInsensitive) const override;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSymbol>(ch_); }
    bool ForcedChar(char16_t& ch) const override { ch = ch_; return true; }
    char16_t Symbol() const { return ch_; }

private:
    char16_t ch_;
};

class TcxRegExprSubrange : public TcxRegExprItem {
public:
    TcxRegExprSubrange(char16_t start, char16_t finish) : start_(start), finish_(finish) {}
    bool Check(char16_t& ch, bool) const override { return ch >= start_ && ch <= finish_; }
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSubrange>(start_, finish_); }

private:
    char16_t start_, finish_;
};

class TcxRegExprEnumeration : public TcxRegExprItem {
public:
    explicit TcxRegExprEnumeration(bool inverse) : inverse_(inverse) {}
    bool Check(char16_t& ch, bool caseInsensitive) const override { return Matches(ch, caseInsensitive) != inverse_; }
    bool Inverse() const { return inverse_; }

protected:
    virtual bool Matches(char16_t& ch, bool caseInsensitive) const = 0;
    bool inverse_;
};

class TcxRegExprUserEnumeration : public TcxRegExprEnumeration {
public:
    using TcxRegExprEnumeration::TcxRegExprEnumeration;
    void Add(std::unique_ptr<TcxRegExprItem> item) { items_.push_back(std::move(item)); }
    std::unique_ptr<TcxRegExprItem> Clone() const override;

protected:
    bool Matches(char16_t& ch, bool caseInsensitive) const override;

private:
    std::vector<std::unique_ptr<TcxRegExprItem>> items_;
};

class TcxRegExprDigit : public TcxRegExprEnumeration {
public:
    using TcxRegExprEnumeration::TcxRegExprEnumeration;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprDigit>(inverse_); }
protected:
    bool Matches(char16_t& ch, bool) const override { return ch >= u'0' && ch <= u'9'; }
};

class TcxRegExprIdLetter : public TcxRegExprEnumeration {
public:
    using TcxRegExprEnumeration::TcxRegExprEnumeration;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprIdLetter>(inverse_); }
protected:
    bool Matches(char16_t& ch, bool) const override;
};

class TcxRegExprSpace : public TcxRegExprEnumeration {
public:
    using TcxRegExprEnumeration::TcxRegExprEnumeration;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprSpace>(inverse_); }
protected:
    bool Matches(char16_t& ch, bool) const override;
};

class TcxRegExprAll : public TcxRegExprItem {
public:
    bool Check(char16_t&, bool) const override { return true; }
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprAll>(); }
};

// The separators follow the locale at match time, not at compile time.
class TcxRegExprDateSeparator : public TcxRegExprItem {
public:
    bool Check(char16_t& ch, bool) const override;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprDateSeparator>(); }
    bool ForcedChar(char16_t& ch) const override;
};

class TcxRegExprTimeSeparator : public TcxRegExprItem {
public:
    bool Check(char16_t& ch, bool) const override;
    std::unique_ptr<TcxRegExprItem> Clone() const override { return std::make_unique<TcxRegExprTimeSeparator>(); }
    bool ForcedChar(char16_t& ch) const override;
};

// ---- quantifiers ------------------------------------------------------------------------------

class TcxRegExprQuantifier {
public:
    virtual ~TcxRegExprQuantifier() = default;
    virtual bool CanMissing() const = 0;
    virtual bool CanRepeat() const = 0;
    virtual std::unique_ptr<TcxRegExprQuantifier> Clone() const = 0;
    virtual std::string Print() const = 0;
};

template <bool Missing, bool Repeat, char Sign>
class TcxRegExprQuantifierOf : public TcxRegExprQuantifier {
public:
    bool CanMissing() const override { return Missing; }
    bool CanRepeat() const override { return Repeat; }
    std::unique_ptr<TcxRegExprQuantifier> Clone() const override { return std::make_unique<TcxRegExprQuantifierOf>(); }
    std::string Print() const override { return Sign ? std::string(1, Sign) : std::string(); }
};
using TcxRegExprSimpleQuantifier = TcxRegExprQuantifierOf<false, false, 0>;
using TcxRegExprQuestionQuantifier = TcxRegExprQuantifierOf<true, false, '?'>;
using TcxRegExprStarQuantifier = TcxRegExprQuantifierOf<true, true, '*'>;
using TcxRegExprPlusQuantifier = TcxRegExprQuantifierOf<false, true, '+'>;

// ---- states -----------------------------------------------------------------------------------

// A state of the automaton. Successors are not owned: every state belongs to its parser item.
class TcxRegExprState {
public:
    virtual ~TcxRegExprState() = default;
    void Add(TcxRegExprState* state) { successors_.push_back(state); }
    const std::vector<TcxRegExprState*>& Successors() const { return successors_; }
    virtual bool IsBlock() const = 0;

    // Stamp of the last walk that visited the state; keeps state sets free of duplicates and
    // walks through blocks finite.
    unsigned long long Stamp = 0;

private:
    std::vector<TcxRegExprState*> successors_;
};

class TcxRegExprSimpleState : public TcxRegExprState {
public:
    explicit TcxRegExprSimpleState(std::unique_ptr<TcxRegExprItem> item) : item_(std::move(item)) {}
    bool IsBlock() const override { return false; }
    bool Check(char16_t& ch, bool caseInsensitive) const { return item_ && item_->Check(ch, caseInsensitive); }
    TcxRegExprItem* Item() const { return item_.get(); }
    bool Final = false;

private:
    std::unique_ptr<TcxRegExprItem> item_;
};

// The transparent start or finish of a block: entering it means entering its successors.
class TcxRegExprBlockState : public TcxRegExprState {
public:
    bool IsBlock() const override { return true; }
};

// A set of states; only membership counts, so a state is never held twice.
class TcxRegExprStates {
public:
    void Add(TcxRegExprSimpleState* state) { items_.push_back(state); }
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    TcxRegExprSimpleState* State(int index) const { return items_[index]; }
    bool IsFinal() const;
    // The one character every member stands for (a symbol or a separator), when there is one.
    bool Equ(char16_t& ch) const;

private:
    std::vector<TcxRegExprSimpleState*> items_;
};

// ---- parser tree ------------------------------------------------------------------------------

class TcxRegExprParserAlt;

class TcxRegExprParserItem {
public:
    TcxRegExprParserItem();
    virtual ~TcxRegExprParserItem() = default;
    bool CanMissing() const { return quantifier_->CanMissing(); }
    bool CanRepeat() const { return quantifier_->CanRepeat(); }
    bool HasSimpleQuantifier() const { return !CanMissing() && !CanRepeat(); }
    void SetQuantifier(std::unique_ptr<TcxRegExprQuantifier> value) { quantifier_ = std::move(value); }
    const TcxRegExprQuantifier& Quantifier() const { return *quantifier_; }
    virtual bool CanEmpty() const = 0;
    virtual std::unique_ptr<TcxRegExprParserItem> Clone() const = 0;
    virtual void Print(std::string& out) const = 0;
    virtual void SetFinal() = 0;
    virtual TcxRegExprState* StartState() const = 0;
    virtual TcxRegExprState* EndState() const = 0;
    // The states of the item and everything in it, and the height of its tree (1 for a
    // character). Both are kept up to date as the tree grows, so asking costs nothing.
    virtual long long StateCount() const = 0;
    virtual int Depth() const = 0;

protected:
    std::unique_ptr<TcxRegExprQuantifier> quantifier_;
};

class TcxRegExprParserSimpleItem : public TcxRegExprParserItem {
public:
    explicit TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> item);
    bool CanEmpty() const override { return CanMissing(); }
    std::unique_ptr<TcxRegExprParserItem> Clone() const override;
    void Print(std::string& out) const override;
    void SetFinal() override { state_->Final = true; }
    TcxRegExprState* StartState() const override { return state_.get(); }
    TcxRegExprState* EndState() const override { return state_.get(); }
    long long StateCount() const override { return 1; }
    int Depth() const override { return 1; }

private:
    std::unique_ptr<TcxRegExprSimpleState> state_;
};

class TcxRegExprParserAlt {
public:
    std::vector<std::unique_ptr<TcxRegExprParserItem>> Items;
    bool CanEmpty() const;
    std::unique_ptr<TcxRegExprParserAlt> Clone() const;
    void SetFinal();
    long long StateCount() const;
    int Depth() const;
    // A transparent state of the wiring that leads both into an optional item and past it, so
    // that a run of optional items is linked once each instead of each to every later one.
    TcxRegExprBlockState* AddJunction();

private:
    std::vector<std::unique_ptr<TcxRegExprBlockState>> junctions_;
};
using TcxRegExprParserAlts = std::vector<std::unique_ptr<TcxRegExprParserAlt>>;

class TcxRegExprParserBlockItem : public TcxRegExprParserItem {
public:
    TcxRegExprParserBlockItem();
    bool CanEmpty() const override;
    std::unique_ptr<TcxRegExprParserItem> Clone() const override;
    void Print(std::string& out) const override;
    void SetFinal() override;
    TcxRegExprState* StartState() const override { return start_.get(); }
    TcxRegExprState* EndState() const override { return finish_.get(); }
    long long StateCount() const override { return stateCount_; }
    int Depth() const override { return depth_; }
    // Takes note of the alternatives once they are complete: their states, height and whether
    // one of them can match nothing. Whoever fills Alts closes the block before it is used.
    void Close();
    TcxRegExprParserAlts Alts;

private:
    std::unique_ptr<TcxRegExprBlockState> start_, finish_;
    long long stateCount_ = 2;
    int depth_ = 1;
    bool altCanEmpty_ = false;
};

// ---- automaton --------------------------------------------------------------------------------

class TcxRegExprAutomat {
public:
    explicit TcxRegExprAutomat(TcxRegExprParserAlts alts);
    bool Next(char16_t& ch, bool caseInsensitive);
    bool Prev();
    void Reset();
    bool IsFinal() const { return current_.IsFinal(); }
    bool IsStart() const { return current_.Count() > 0 && current_.State(0) == start_.get(); }
    const TcxRegExprStates& Current() const { return current_; }
    TcxRegExprStates AllNextStates(const TcxRegExprStates& states);
    void Push(TcxRegExprStates next);
    bool Pop(TcxRegExprStates& previous);
    void PushHistory(TcxRegExprStates states) { history_.push_back(std::move(states)); }
    void SetCurrent(TcxRegExprStates states) { current_ = std::move(states); }
    int HistoryCount() const { return static_cast<int>(history_.size()); }
    // Every state of the wiring: the start, the items' states and the junctions.
    long long StateCount() const { return stateCount_; }
    void Print(std::string& out) const;

private:
    template <class Accept>
    TcxRegExprStates Walk(const TcxRegExprStates& from, Accept accept);

    TcxRegExprParserAlts alts_;
    std::unique_ptr<TcxRegExprSimpleState> start_;
    TcxRegExprStates current_;
    std::vector<TcxRegExprStates> history_;
    unsigned long long stamp_ = 0;
    long long stateCount_ = 1;
};

// ---- the expression ---------------------------------------------------------------------------

using TcxSymbolUpdateEvent = Event<void(char16_t symbol)>;
using TcxSymbolDeleteEvent = Event<void()>;

class TcxRegExpr : public TObject {
    RTL_CLASS(TcxRegExpr, TObject)
    TcxRegExpr();
    ~TcxRegExpr() override;
    TcxRegExpr(const TcxRegExpr&) = delete;
    TcxRegExpr& operator=(const TcxRegExpr&) = delete;

    // EcxRegExprError with every error found; the expression is then not compiled.
    void Compile(TStream* stream);
    void Compile(const std::u16string& expression);
    bool IsCompiled() const { return compiled_; }
    bool Next(char16_t& ch);
    // Feeds every character of s; accepted receives the accepted ones in order.
    void NextEx(const std::u16string& s, std::u16string& accepted);
    bool Prev();
    void Reset();
    bool IsFinal() const;
    bool IsStart() const;
    std::string Print() const;
    // Switching completion on takes the forced characters at once unless updateNow is False.
    void SetUpdateOn(bool value, bool updateNow = true);
    bool UpdateOn() const { return updateOn_; }
    TStream* GetStream() const { return compiled_ ? stream_.get() : nullptr; }
    const std::u16string& Expression() const { return source_; }
    const TcxRegExprErrors& Errors() const { return errors_; }
    const TcxLexems& Lexems() const { return lexems_; }
    long long StateCount() const;

    bool CaseInsensitive = true;
    TcxSymbolUpdateEvent OnSymbolUpdate;
    TcxSymbolDeleteEvent OnSymbolDelete;

private:
    void CheckCompiled() const;
    void ClearState();
    void Update();
    void ReUpdate();

    std::unique_ptr<TMemoryStream> stream_;
    std::u16string source_;
    TcxRegExprErrors errors_;
    TcxLexems lexems_;
    std::unique_ptr<TcxRegExprAutomat> automat_;
    bool compiled_ = false;
    bool updateOn_ = false;
};

// Compile the expression and feed the text: every character accepted (and, for the full
// check, a final state at the end). A bad expression raises EcxRegExprError. Qualified by the
// unit's name, as the standard mask's helpers of the same names are not.
namespace cxRegExpr {
bool IsTextValid(const std::u16string& text, const std::u16string& expression);
bool IsTextFullValid(const std::u16string& text, const std::u16string& expression);
} // namespace cxRegExpr

} // namespace cx

namespace cx {

// The two compilation passes (cxRegExprParser.cpp): characters to lexems, lexems to the tree.
// Both record their errors and go on; the parse answers the automaton only when it found none.
void cxRegExprScan(const std::u16string& source, TcxLexems& lexems, TcxRegExprErrors& errors);
std::unique_ptr<TcxRegExprAutomat> cxRegExprParse(const TcxLexems& lexems, TcxRegExprErrors& errors);

} // namespace cx
