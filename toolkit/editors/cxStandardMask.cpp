#include "toolkit/editors/cxStandardMask.h"

#include <algorithm>

#include "platform/rtl/Locale.h"
#include "platform/rtl/Unicode.h"

namespace cx {

namespace {

bool IsAsciiLetter(char16_t ch)
{
    return (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z');
}

char16_t LocaleSeparator(char separator)
{
    return char16_t(static_cast<unsigned char>(separator));
}

} // namespace

bool TcxStandardMaskManyItem::Check(char16_t& ch) const
{
    // A position holds one UTF-16 unit, and a character outside the basic plane needs two: it is
    // refused whole (each half on its own), never stored as half a pair.
    if (IsSurrogate(ch))
        return false;
    if (!Accepts(ch))
        return false;
    if (caseControl_ == ccUpperCase)
        ch = WideUpperCase(std::u16string(1, ch))[0];
    else if (caseControl_ == ccLowerCase)
        ch = WideLowerCase(std::u16string(1, ch))[0];
    return true;
}

bool TcxStandardMaskAlphaItem::Accepts(char16_t ch) const
{
    return IsAsciiLetter(ch);
}

bool TcxStandardMaskAlphaNumericItem::Accepts(char16_t ch) const
{
    return IsAsciiLetter(ch) || (ch >= u'0' && ch <= u'9');
}

void TcxStandardMask::Clear()
{
    items_.clear();
    mask_.clear();
    leading_ = false;
    saveLiteralChars_ = true;
    blank_ = u'_';
}

void TcxStandardMask::Compile(const std::u16string& mask)
{
    Clear();
    mask_ = mask;
    std::u16string body = mask;
    if (!body.empty() && body[0] == u'!') {
        leading_ = true;
        body.erase(0, 1);
    }
    CompileBody(body);
}

void TcxStandardMask::CompileBody(const std::u16string& body)
{
    const auto& settings = LocaleService().FormatSettings();
    TcxCaseControl caseControl = ccUserCase;
    const std::size_t n = body.size();
    auto literal = [&](char16_t ch) { items_.push_back(std::make_unique<TcxStandardMaskLiteralItem>(ch)); };
    auto many = [&](auto* item) { items_.emplace_back(item); };
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t ch = body[i];
        switch (ch) {
        case u'L': many(new TcxStandardMaskAlphaItem(false, caseControl)); break;
        case u'l': many(new TcxStandardMaskAlphaItem(true, caseControl)); break;
        case u'A': many(new TcxStandardMaskAlphaNumericItem(false, caseControl)); break;
        case u'a': many(new TcxStandardMaskAlphaNumericItem(true, caseControl)); break;
        case u'C': many(new TcxStandardMaskASCIIItem(false, caseControl)); break;
        case u'c': many(new TcxStandardMaskASCIIItem(true, caseControl)); break;
        case u'0': many(new TcxStandardMaskNumericItem(false, caseControl)); break;
        case u'9': many(new TcxStandardMaskNumericItem(true, caseControl)); break;
        case u'#': many(new TcxStandardMaskNumericSymbolItem(caseControl)); break;
        case u'/': literal(LocaleSeparator(settings.DateSeparator)); break;
        case u':': literal(LocaleSeparator(settings.TimeSeparator)); break;
        case u'>': caseControl = ccUpperCase; break;
        case u'<':
            if (i + 1 < n && body[i + 1] == u'>') {
                caseControl = ccUserCase;
                ++i;
            } else
                caseControl = ccLowerCase;
            break;
        case u'\\':
            if (i + 1 < n)
                literal(body[++i]);
            break;
        case u';': {
            const std::size_t rest = n - i - 1;
            const bool flag = rest > 0 && (body[i + 1] == u'0' || body[i + 1] == u'1');
            if (rest == 3 && flag && body[i + 2] == u';') {
                saveLiteralChars_ = body[i + 1] == u'1';
                blank_ = body[i + 3];
                i = n;
            } else if (rest == 1 && flag) {
                saveLiteralChars_ = body[i + 1] == u'1';
                i = n;
            } else
                literal(ch);
            break;
        }
        default: literal(ch); break;
        }
    }
}

std::u16string TcxStandardMask::GetEmptyString() const
{
    std::u16string result;
    for (const auto& item : items_) {
        if (!item->IsLiteral())
            result += u' ';
        else if (saveLiteralChars_)
            result += static_cast<TcxStandardMaskLiteralItem*>(item.get())->Literal();
    }
    return result;
}

std::u16string TcxStandardMask::GetFullEmptyString() const
{
    std::u16string result;
    for (const auto& item : items_)
        result += item->IsLiteral() ? static_cast<TcxStandardMaskLiteralItem*>(item.get())->Literal() : blank_;
    return result;
}

bool TcxStandardMask::IsBlankAt(char16_t ch, int index) const
{
    return (ch == blank_ || ch == u' ') && !items_[index]->IsLiteral();
}

void TcxStandardMask::Format(std::u16string& text, bool useCheckedChars, bool ignoreSaveLiterals) const
{
    std::u16string result = GetFullEmptyString();
    const int count = Count();
    const int len = static_cast<int>(text.size());
    const int step = leading_ ? -1 : 1;
    int item = leading_ ? count - 1 : 0;
    for (int k = 0; k < len; ++k) {
        const char16_t original = text[leading_ ? len - 1 - k : k];
        for (int j = item; j >= 0 && j < count; j += step) {
            if (items_[j]->IsLiteral() && !saveLiteralChars_ && !ignoreSaveLiterals)
                continue;
            char16_t ch = original;
            if (items_[j]->Check(ch)) {
                result[j] = useCheckedChars ? ch : original;
                item = j + step;
                break;
            }
            if (IsBlankAt(original, j)) {
                item = j + step;
                break;
            }
        }
    }
    text = result;
}

void TcxStandardMask::Format2(std::u16string& text) const
{
    std::u16string result;
    const int n = std::min(Count(), static_cast<int>(text.size()));
    for (int i = 0; i < n; ++i) {
        const bool literal = items_[i]->IsLiteral();
        if (literal && !saveLiteralChars_)
            continue;
        result += (!literal && text[i] == blank_) ? u' ' : text[i];
    }
    text = result;
}

bool TcxStandardMask::IsValid(std::u16string& text) const
{
    if (static_cast<int>(text.size()) > Count())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!items_[i]->Check(text[i]) && !IsBlankAt(text[i], static_cast<int>(i)))
            return false;
    return true;
}

bool TcxStandardMask::IsFullValid(std::u16string& text) const
{
    if (static_cast<int>(text.size()) != Count())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (items_[i]->Check(text[i]))
            continue;
        auto* many = dynamic_cast<TcxStandardMaskManyItem*>(items_[i].get());
        if (!(many && many->Optional() && (text[i] == blank_ || text[i] == u' ')))
            return false;
    }
    return true;
}

namespace {

template <class Fn>
auto WithMask(const std::u16string& mask, char16_t blank, Fn fn)
{
    TcxStandardMask compiled;
    compiled.Compile(mask);
    if (blank != 0)
        compiled.SetBlank(blank);
    return fn(compiled);
}

} // namespace

std::u16string EmptyString(const std::u16string& mask, char16_t blank)
{
    return WithMask(mask, blank, [](TcxStandardMask& m) { return m.GetEmptyString(); });
}

std::u16string FormatText(const std::u16string& text, const std::u16string& mask, char16_t blank)
{
    return WithMask(mask, blank, [&](TcxStandardMask& m) {
        std::u16string result = text;
        m.Format(result, true, true);
        return result;
    });
}

bool IsTextFullValid(const std::u16string& text, const std::u16string& mask)
{
    std::u16string copy = text;
    return WithMask(mask, 0, [&](TcxStandardMask& m) { return m.IsFullValid(copy); });
}

bool IsTextValid(const std::u16string& text, const std::u16string& mask)
{
    std::u16string copy = text;
    return WithMask(mask, 0, [&](TcxStandardMask& m) { return m.IsValid(copy); });
}

char16_t MaskBlank(const std::u16string& mask)
{
    return WithMask(mask, 0, [](TcxStandardMask& m) { return m.Blank(); });
}

bool SaveLiteralChars(const std::u16string& mask)
{
    return WithMask(mask, 0, [](TcxStandardMask& m) { return m.SaveLiteralCharacters(); });
}

} // namespace cx
