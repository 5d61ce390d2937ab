#pragma once
// cxStandardMask: the classic positional edit mask. One item per character position of the
// edited text checks (and case-converts) the character typed there; the mask formats free text
// into its positions and validates texts against them. Positions count UTF-16 units, as the text
// editor does, so the mask works on std::u16string.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Object.h"

namespace cx {
using namespace rtl;

enum TcxCaseControl { ccUpperCase, ccLowerCase, ccUserCase };

class TcxStandardMaskCustomItem {
public:
    virtual ~TcxStandardMaskCustomItem() = default;
    // May rewrite ch (case control) when it accepts it.
    virtual bool Check(char16_t& ch) const = 0;
    virtual bool IsLiteral() const { return false; }
};

class TcxStandardMaskLiteralItem : public TcxStandardMaskCustomItem {
public:
    explicit TcxStandardMaskLiteralItem(char16_t literal) : literal_(literal) {}
    bool Check(char16_t& ch) const override { return ch == literal_; }
    bool IsLiteral() const override { return true; }
    char16_t Literal() const { return literal_; }

private:
    char16_t literal_;
};

class TcxStandardMaskManyItem : public TcxStandardMaskCustomItem {
public:
    TcxStandardMaskManyItem(bool optional, TcxCaseControl caseControl)
        : optional_(optional), caseControl_(caseControl) {}
    bool Check(char16_t& ch) const override;
    bool Optional() const { return optional_; }
    TcxCaseControl CaseControl() const { return caseControl_; }

protected:
    virtual bool Accepts(char16_t ch) const = 0;

private:
    bool optional_;
    TcxCaseControl caseControl_;
};

class TcxStandardMaskAlphaItem : public TcxStandardMaskManyItem {
public:
    using TcxStandardMaskManyItem::TcxStandardMaskManyItem;
protected:
    bool Accepts(char16_t ch) const override;
};

class TcxStandardMaskAlphaNumericItem : public TcxStandardMaskManyItem {
public:
    using TcxStandardMaskManyItem::TcxStandardMaskManyItem;
protected:
    bool Accepts(char16_t ch) const override;
};

class TcxStandardMaskASCIIItem : public TcxStandardMaskManyItem {
public:
    using TcxStandardMaskManyItem::TcxStandardMaskManyItem;
protected:
    bool Accepts(char16_t) const override { return true; }
};

class TcxStandardMaskNumericItem : public TcxStandardMaskManyItem {
public:
    using TcxStandardMaskManyItem::TcxStandardMaskManyItem;
protected:
    bool Accepts(char16_t ch) const override { return ch >= u'0' && ch <= u'9'; }
};

class TcxStandardMaskNumericSymbolItem : public TcxStandardMaskManyItem {
public:
    explicit TcxStandardMaskNumericSymbolItem(TcxCaseControl caseControl)
        : TcxStandardMaskManyItem(true, caseControl) {}
protected:
    bool Accepts(char16_t ch) const override { return (ch >= u'0' && ch <= u'9') || ch == u'+' || ch == u'-'; }
};

class TcxStandardMask : public TObject {
    RTL_CLASS(TcxStandardMask, TObject)
    TcxStandardMask() = default;

    void Clear();
    void Compile(const std::u16string& mask);

    std::u16string GetEmptyString() const;
    std::u16string GetFullEmptyString() const;
    void Format(std::u16string& text, bool useCheckedChars, bool ignoreSaveLiterals = false) const;
    void Format2(std::u16string& text) const;
    bool IsValid(std::u16string& text) const;
    bool IsFullValid(std::u16string& text) const;

    const std::u16string& Mask() const { return mask_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TcxStandardMaskCustomItem* Items(int index) const { return items_[index].get(); }
    bool IsLiteral(int index) const { return items_[index]->IsLiteral(); }
    bool Leading() const { return leading_; }
    bool SaveLiteralCharacters() const { return saveLiteralChars_; }
    char16_t Blank() const { return blank_; }
    void SetBlank(char16_t value) { blank_ = value; }

private:
    void CompileBody(const std::u16string& body);
    bool IsBlankAt(char16_t ch, int index) const;

    std::u16string mask_;
    std::vector<std::unique_ptr<TcxStandardMaskCustomItem>> items_;
    bool leading_ = false;
    bool saveLiteralChars_ = true;
    char16_t blank_ = u'_';
};

// One-shot helpers over a temporary mask. A blank of 0 keeps the mask's own blank character.
std::u16string EmptyString(const std::u16string& mask, char16_t blank = 0);
std::u16string FormatText(const std::u16string& text, const std::u16string& mask, char16_t blank = 0);
bool IsTextFullValid(const std::u16string& text, const std::u16string& mask);
bool IsTextValid(const std::u16string& text, const std::u16string& mask);
char16_t MaskBlank(const std::u16string& mask);
bool SaveLiteralChars(const std::u16string& mask);

} // namespace cx
