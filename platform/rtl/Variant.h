#pragma once
// Variant: a value of one of the designed kinds, with 1-D arrays. The comparison and conversion
// rules are written down in docs/architecture.md ("Variants").
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace rtl {

enum : Word {
    varEmpty = 0x0000,
    varNull = 0x0001,
    varSmallint = 0x0002,
    varInteger = 0x0003,
    varSingle = 0x0004,
    varDouble = 0x0005,
    varCurrency = 0x0006,
    varDate = 0x0007,
    varOleStr = 0x0008,
    varDispatch = 0x0009,
    varError = 0x000A,
    varBoolean = 0x000B,
    varVariant = 0x000C,
    varUnknown = 0x000D,
    varShortInt = 0x0010,
    varByte = 0x0011,
    varWord = 0x0012,
    varLongWord = 0x0013,
    varInt64 = 0x0014,
    varString = 0x0100,
    varTypeMask = 0x0FFF,
    varArray = 0x2000,
};

class Variant {
public:
    Variant() = default;
    Variant(bool v);
    Variant(int v);
    Variant(std::int64_t v);
    Variant(double v);
    Variant(const char* v);
    Variant(std::string v);
    Variant(std::u16string_view v);   // an OleStr
    Variant(const char16_t* v) : Variant(std::u16string_view(v)) {}
    Variant(Currency v);
    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant MakeNull();
    static Variant FromDate(TDateTime value);
    // A value of an exact kind: integers, floats, strings, Boolean, Currency, Date, Empty, Null.
    static Variant OfType(Word kind, const Variant& value) { return value.AsType(kind); }

    Word VType() const { return type_; }
    bool IsEmpty() const { return type_ == varEmpty; }
    bool IsNull() const { return type_ == varNull; }
    bool IsArray() const { return (type_ & varArray) != 0; }

    // Conversions; EVariantTypeCastError when the value cannot become the kind (Null never
    // converts, except in VarToStr), EVariantError for an overflow.
    std::int32_t ToInteger() const;
    std::int64_t ToInt64() const;
    double ToDouble() const;
    bool ToBoolean() const;
    std::string ToString() const;
    Currency ToCurrency() const;
    TDateTime ToDate() const;
    Variant AsType(Word kind) const;

    // 1-D arrays.
    static Variant CreateArray(int lowBound, int highBound, Word elementType);
    static Variant ArrayOf(std::initializer_list<Variant> values);   // bounds 0..n-1, of Variant
    int LowBound() const;    // EVariantError for a non-array
    int HighBound() const;
    int DimCount() const { return IsArray() ? 1 : 0; }
    const Variant& operator[](int index) const;   // EVariantBadIndexError outside the bounds
    Variant& operator[](int index);

    // The platform's operators: values of different kinds are converted as the table says;
    // EVariantError when they cannot be related (an array, a non-numeric string against a
    // number). Null equals only Null and is less than every other value.
    friend bool operator==(const Variant& a, const Variant& b);
    friend bool operator<(const Variant& a, const Variant& b);
    friend bool operator>(const Variant& a, const Variant& b) { return b < a; }

    // A strict weak order over all values that never raises: Empty, Null, Booleans (False <
    // True), numbers by value, strings by code points, arrays; used for sorting.
    static int Compare(const Variant& a, const Variant& b);

private:
    struct ArrayData {
        int low = 0;
        Word elementType = varVariant;
        std::vector<Variant> items;
    };
    void Clear();
    [[noreturn]] void CastError(Word to) const;
    Word type_ = varEmpty;
    union {
        std::int64_t i_ = 0;
        double d_;
        bool b_;
    };
    std::string s_;                       // String and OleStr (kept as UTF-8)
    std::unique_ptr<ArrayData> array_;
};

inline const Variant Unassigned{};
inline const Variant Null = Variant::MakeNull();

const char* VarTypeAsText(Word kind);
inline Word VarType(const Variant& v) { return v.VType(); }
inline bool VarIsNull(const Variant& v) { return v.IsNull(); }
inline bool VarIsEmpty(const Variant& v) { return v.IsEmpty(); }
inline bool VarIsArray(const Variant& v) { return v.IsArray(); }
bool VarIsStr(const Variant& v);
bool VarIsOrdinal(const Variant& v);
bool VarIsFloat(const Variant& v);
bool VarIsNumeric(const Variant& v);   // ordinal or float (Currency and Date count; Boolean too)
// The text of a value; Null gives the empty text.
std::string VarToStr(const Variant& v);
std::u16string VarToWideStr(const Variant& v);
inline Variant VarArrayCreate(int low, int high, Word elementType) { return Variant::CreateArray(low, high, elementType); }
inline Variant VarArrayOf(std::initializer_list<Variant> values) { return Variant::ArrayOf(values); }
inline int VarArrayLowBound(const Variant& v, int dim = 1) { return v.LowBound(); }
inline int VarArrayHighBound(const Variant& v, int dim = 1) { return v.HighBound(); }
inline int VarArrayDimCount(const Variant& v) { return v.DimCount(); }

} // namespace rtl
