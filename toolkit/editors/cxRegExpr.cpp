#include "toolkit/editors/cxRegExpr.h"

#include <algorithm>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/editors/cxEditConsts.h"

namespace cx {

namespace {

char16_t UpperChar(char16_t ch)
{
    return WideUpperCase(std::u16string(1, ch))[0];
}

char16_t Separator(char value)
{
    return char16_t(static_cast<unsigned char>(value));
}

std::string JoinMessages(const TcxRegExprErrors& errors)
{
    std::string result;
    for (int i = 0; i < errors.Count(); ++i) {
        if (i > 0)
            result += "\r\n";
        result += errors.Items(i).GetFullMessage();
    }
    return result;
}

} // namespace

// ---- errors -----------------------------------------------------------------------------------

std::string TcxRegExprError::GetFullMessage() const
{
    if (Line <= 0)
        return Message;
    std::string result = cxGetResourceString(&scxRegExprLine) + std::to_string(Line);
    if (Column > 0)
        result += ", " + cxGetResourceString(&scxRegExprChar) + std::to_string(Column);
    return result + ": " + Message;
}

EcxRegExprError::EcxRegExprError(TcxRegExprErrors errors)
    : EcxEditError(JoinMessages(errors)), Errors(std::move(errors))
{
}

// ---- character items --------------------------------------------------------------------------

bool TcxRegExprSymbol::Check(char16_t& ch, bool caseInsensitive) const
{
    const bool match = caseInsensitive ? UpperChar(ch) == UpperChar(ch_) : ch == ch_;
    if (match)
        ch = ch_;
    return match;
}

std::unique_ptr<TcxRegExprItem> TcxRegExprUserEnumeration::Clone() const
{
    auto result = std::make_unique<TcxRegExprUserEnumeration>(inverse_);
    for (const auto& item : items_)
        result->Add(item->Clone());
    return result;
}

bool TcxRegExprUserEnumeration::Matches(char16_t& ch, bool caseInsensitive) const
{
    for (const auto& item : items_)
        if (item->Check(ch, caseInsensitive))
            return true;
    return false;
}

bool TcxRegExprIdLetter::Matches(char16_t& ch, bool) const
{
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || (ch >= u'0' && ch <= u'9') || ch == u'_';
}

bool TcxRegExprSpace::Matches(char16_t& ch, bool) const
{
    return ch == 0 || ch == 9 || ch == 10 || ch == 12 || ch == 13 || ch == 32;
}

bool TcxRegExprDateSeparator::Check(char16_t& ch, bool) const
{
    return ch == Separator(LocaleService().FormatSettings().DateSeparator);
}

bool TcxRegExprDateSeparator::ForcedChar(char16_t& ch) const
{
    ch = Separator(LocaleService().FormatSettings().DateSeparator);
    return true;
}

bool TcxRegExprTimeSeparator::Check(char16_t& ch, bool) const
{
    return ch == Separator(LocaleService().FormatSettings().TimeSeparator);
}

bool TcxRegExprTimeSeparator::ForcedChar(char16_t& ch) const
{
    ch = Separator(LocaleService().FormatSettings().TimeSeparator);
    return true;
}

// ---- state sets -------------------------------------------------------------------------------

bool TcxRegExprStates::IsFinal() const
{
    for (auto* state : items_)
        if (state->Final)
            return true;
    return false;
}

bool TcxRegExprStates::Equ(char16_t& ch) const
{
    if (items_.empty())
        return false;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        char16_t c;
        if (!items_[i]->Item() || !items_[i]->Item()->ForcedChar(c) || (i > 0 && c != ch))
            return false;
        ch = c;
    }
    return true;
}

// ---- parser tree ------------------------------------------------------------------------------

TcxRegExprParserItem::TcxRegExprParserItem() : quantifier_(std::make_unique<TcxRegExprSimpleQuantifier>()) {}

TcxRegExprParserSimpleItem::TcxRegExprParserSimpleItem(std::unique_ptr<TcxRegExprItem> item)
    : state_(std::make_unique<TcxRegExprSimpleState>(std::move(item)))
{
}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserSimpleItem::Clone() const
{
    auto result = std::make_unique<TcxRegExprParserSimpleItem>(state_->Item()->Clone());
    result->SetQuantifier(quantifier_->Clone());
    return result;
}

void TcxRegExprParserSimpleItem::Print(std::string& out) const
{
    out += "item --> " + quantifier_->Print() + "\r\n";
}

bool TcxRegExprParserAlt::CanEmpty() const
{
    for (const auto& item : Items)
        if (!item->CanEmpty())
            return false;
    return true;
}

std::unique_ptr<TcxRegExprParserAlt> TcxRegExprParserAlt::Clone() const
{
    auto result = std::make_unique<TcxRegExprParserAlt>();
    for (const auto& item : Items)
        result->Items.push_back(item->Clone());
    return result;
}

// The last item is final, and earlier ones while everything after them can match nothing.
void TcxRegExprParserAlt::SetFinal()
{
    for (auto it = Items.rbegin(); it != Items.rend(); ++it) {
        (*it)->SetFinal();
        if (!(*it)->CanEmpty())
            return;
    }
}

long long TcxRegExprParserAlt::StateCount() const
{
    long long result = 0;
    for (const auto& item : Items)
        result += item->StateCount();
    return result;
}

int TcxRegExprParserAlt::Depth() const
{
    int result = 0;
    for (const auto& item : Items)
        result = std::max(result, item->Depth());
    return result;
}

TcxRegExprBlockState* TcxRegExprParserAlt::AddJunction()
{
    junctions_.push_back(std::make_unique<TcxRegExprBlockState>());
    return junctions_.back().get();
}

TcxRegExprParserBlockItem::TcxRegExprParserBlockItem()
    : start_(std::make_unique<TcxRegExprBlockState>()), finish_(std::make_unique<TcxRegExprBlockState>())
{
}

bool TcxRegExprParserBlockItem::CanEmpty() const
{
    return CanMissing() || altCanEmpty_;
}

void TcxRegExprParserBlockItem::Close()
{
    stateCount_ = 2;
    depth_ = 1;
    altCanEmpty_ = false;
    for (const auto& alt : Alts) {
        stateCount_ += alt->StateCount();
        depth_ = std::max(depth_, alt->Depth() + 1);
        altCanEmpty_ = altCanEmpty_ || alt->CanEmpty();
    }
}

std::unique_ptr<TcxRegExprParserItem> TcxRegExprParserBlockItem::Clone() const
{
    auto result = std::make_unique<TcxRegExprParserBlockItem>();
    result->SetQuantifier(quantifier_->Clone());
    for (const auto& alt : Alts)
        result->Alts.push_back(alt->Clone());
    result->Close();
    return result;
}

void TcxRegExprParserBlockItem::Print(std::string& out) const
{
    out += "<Start_Block>\r\n";
    for (const auto& alt : Alts) {
        out += "<Start_Alt>\r\n";
        for (const auto& item : alt->Items)
            item->Print(out);
        out += "<Finish_Alt>\r\n";
    }
    out += "<Finish_Block> --> " + quantifier_->Print() + "\r\n";
}

void TcxRegExprParserBlockItem::SetFinal()
{
    for (auto& alt : Alts)
        alt->SetFinal();
}

// ---- wiring -----------------------------------------------------------------------------------

namespace {

TcxRegExprState* Connect(TcxRegExprParserAlt& alt, TcxRegExprState* finish, long long& junctions);

void ConnectBlock(TcxRegExprParserBlockItem& block, long long& junctions)
{
    for (auto& alt : block.Alts)
        block.StartState()->Add(Connect(*alt, block.EndState(), junctions));
}

// Wires an alternative whose way out is `finish` (none at the top level) and answers the state
// that enters it. Built from the end: each item leads on to the entry of the items after it,
// and an item that can be missing is entered through a junction that also leads past it. So a
// run of optional items costs one junction each (counted in `junctions`), and the walks through
// transparent states reach every item that may come next.
TcxRegExprState* Connect(TcxRegExprParserAlt& alt, TcxRegExprState* finish, long long& junctions)
{
    TcxRegExprState* next = finish;
    for (std::size_t i = alt.Items.size(); i-- > 0;) {
        auto& item = *alt.Items[i];
        if (auto* block = dynamic_cast<TcxRegExprParserBlockItem*>(&item))
            ConnectBlock(*block, junctions);
        if (next)
            item.EndState()->Add(next);
        if (item.CanRepeat())
            item.EndState()->Add(item.StartState());
        if (item.CanMissing() && next) {
            TcxRegExprBlockState* junction = alt.AddJunction();
            ++junctions;
            junction->Add(item.StartState());
            junction->Add(next);
            next = junction;
        } else {
            next = item.StartState();
        }
    }
    return next;
}

} // namespace

// ---- automaton --------------------------------------------------------------------------------

TcxRegExprAutomat::TcxRegExprAutomat(TcxRegExprParserAlts alts)
    : alts_(std::move(alts)), start_(std::make_unique<TcxRegExprSimpleState>(nullptr))
{
    for (auto& alt : alts_) {
        start_->Add(Connect(*alt, nullptr, stateCount_));
        alt->SetFinal();
        if (alt->CanEmpty())
            start_->Final = true;
        stateCount_ += alt->StateCount();
    }
    Reset();
}

// The simple states reached from the members of `from` through their successors, walking
// through transparent block states; accept decides which of them join. Each state is visited
// once per walk, so the set holds no duplicates and cycles of block states end.
template <class Accept>
TcxRegExprStates TcxRegExprAutomat::Walk(const TcxRegExprStates& from, Accept accept)
{
    const unsigned long long stamp = ++stamp_;
    TcxRegExprStates result;
    std::vector<TcxRegExprState*> pending;
    for (int i = 0; i < from.Count(); ++i) {
        const auto& successors = from.State(i)->Successors();
        pending.assign(successors.rbegin(), successors.rend());
        while (!pending.empty()) {
            TcxRegExprState* state = pending.back();
            pending.pop_back();
            if (state->Stamp == stamp)
                continue;
            state->Stamp = stamp;
            if (state->IsBlock())
                pending.insert(pending.end(), state->Successors().rbegin(), state->Successors().rend());
            else if (accept(static_cast<TcxRegExprSimpleState*>(state)))
                result.Add(static_cast<TcxRegExprSimpleState*>(state));
        }
    }
    return result;
}

bool TcxRegExprAutomat::Next(char16_t& ch, bool caseInsensitive)
{
    TcxRegExprStates next = Walk(current_, [&](TcxRegExprSimpleState* s) { return s->Check(ch, caseInsensitive); });
    if (next.Count() == 0)
        return false;
    Push(std::move(next));
    return true;
}

TcxRegExprStates TcxRegExprAutomat::AllNextStates(const TcxRegExprStates& states)
{
    return Walk(states, [](TcxRegExprSimpleState*) { return true; });
}

void TcxRegExprAutomat::Push(TcxRegExprStates next)
{
    history_.push_back(std::move(current_));
    current_ = std::move(next);
}

bool TcxRegExprAutomat::Pop(TcxRegExprStates& previous)
{
    if (history_.empty())
        return false;
    previous = std::move(history_.back());
    history_.pop_back();
    return true;
}

bool TcxRegExprAutomat::Prev()
{
    return Pop(current_);
}

void TcxRegExprAutomat::Reset()
{
    history_.clear();
    current_.Clear();
    current_.Add(start_.get());
}

void TcxRegExprAutomat::Print(std::string& out) const
{
    for (const auto& alt : alts_) {
        out += "<Start_Alt>\r\n";
        for (const auto& item : alt->Items)
            item->Print(out);
        out += "<Finish_Alt>\r\n";
    }
}

// ---- the expression ---------------------------------------------------------------------------

TcxRegExpr::TcxRegExpr() = default;
TcxRegExpr::~TcxRegExpr() = default;

void TcxRegExpr::ClearState()
{
    stream_.reset();
    source_.clear();
    errors_.Clear();
    lexems_.clear();
    automat_.reset();
    compiled_ = false;
}

void TcxRegExpr::Compile(TStream* stream)
{
    ClearState();
    if (!stream) {
        errors_.Add({0, 0, cxGetResourceString(&scxRegExprNotAssignedSourceStream)});
        throw EcxRegExprError(errors_);
    }
    stream_ = std::make_unique<TMemoryStream>();
    stream->SetPosition(0);
    stream_->CopyFrom(stream, 0);
    const auto& bytes = stream_->Bytes();
    source_ = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    bool blank = true;
    for (char16_t ch : source_)
        blank = blank && (ch == 0 || ch == 9 || ch == 10 || ch == 12 || ch == 13 || ch == 32);
    if (blank) {
        errors_.Add({0, 0, cxGetResourceString(&scxRegExprEmptySourceStream)});
        throw EcxRegExprError(errors_);
    }
    cxRegExprScan(source_, lexems_, errors_);
    if (errors_.Count() == 0)
        automat_ = cxRegExprParse(lexems_, errors_);
    if (errors_.Count() > 0 || !automat_) {
        automat_.reset();
        throw EcxRegExprError(errors_);
    }
    compiled_ = true;
    if (updateOn_)
        Update();
}

void TcxRegExpr::Compile(const std::u16string& expression)
{
    const std::string utf8 = Utf16ToUtf8(expression);
    TMemoryStream stream(std::vector<Byte>(utf8.begin(), utf8.end()));
    Compile(&stream);
}

void TcxRegExpr::CheckCompiled() const
{
    if (!compiled_)
        throw EcxEditError(cxGetResourceString(&scxRegExprNotCompiled));
}

bool TcxRegExpr::Next(char16_t& ch)
{
    CheckCompiled();
    if (!automat_->Next(ch, CaseInsensitive))
        return false;
    if (updateOn_ && !automat_->IsFinal())
        Update();
    return true;
}

void TcxRegExpr::NextEx(const std::u16string& s, std::u16string& accepted)
{
    accepted.clear();
    for (char16_t ch : s)
        if (Next(ch))
            accepted += ch;
}

bool TcxRegExpr::Prev()
{
    CheckCompiled();
    if (updateOn_)
        ReUpdate();
    return automat_->Prev();
}

void TcxRegExpr::Reset()
{
    CheckCompiled();
    automat_->Reset();
}

bool TcxRegExpr::IsFinal() const
{
    CheckCompiled();
    return automat_->IsFinal();
}

bool TcxRegExpr::IsStart() const
{
    CheckCompiled();
    return automat_->IsStart();
}

long long TcxRegExpr::StateCount() const
{
    return automat_ ? automat_->StateCount() : 0;
}

std::string TcxRegExpr::Print() const
{
    CheckCompiled();
    std::string out;
    automat_->Print(out);
    return out;
}

void TcxRegExpr::SetUpdateOn(bool value, bool updateNow)
{
    updateOn_ = value;
    if (value && updateNow && compiled_)
        Update();
}

// Takes the characters the expression forces. A forced run never needs more steps than there
// are states unless it cycles, so the bound only cuts such a cycle.
void TcxRegExpr::Update()
{
    for (long long guard = 2 * automat_->StateCount() + 2; guard > 0 && !automat_->IsFinal(); --guard) {
        TcxRegExprStates next = automat_->AllNextStates(automat_->Current());
        char16_t ch;
        if (!next.Equ(ch))
            return;
        CallEvent(OnSymbolUpdate, ch);
        automat_->Push(std::move(next));
    }
}

// Before a step back: gives back the characters that completion added after the last typed one.
void TcxRegExpr::ReUpdate()
{
    char16_t ch;
    while (automat_->Current().Equ(ch)) {
        TcxRegExprStates previous;
        if (!automat_->Pop(previous))
            return;
        char16_t forced;
        if (previous.IsFinal() || !automat_->AllNextStates(previous).Equ(forced)) {
            automat_->PushHistory(std::move(previous));
            return;
        }
        CallEvent(OnSymbolDelete);
        automat_->SetCurrent(std::move(previous));
    }
}

namespace cxRegExpr {

bool IsTextValid(const std::u16string& text, const std::u16string& expression)
{
    TcxRegExpr expr;
    expr.Compile(expression);
    for (char16_t ch : text)
        if (!expr.Next(ch))
            return false;
    return true;
}

bool IsTextFullValid(const std::u16string& text, const std::u16string& expression)
{
    TcxRegExpr expr;
    expr.Compile(expression);
    for (char16_t ch : text)
        if (!expr.Next(ch))
            return false;
    return expr.IsFinal();
}

} // namespace cxRegExpr

} // namespace cx
