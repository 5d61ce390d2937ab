#pragma once
// Resource strings: a compiled-in text known by the address of its record. Code that shows a
// text keeps the record's address as the identity; LoadResString gives the compiled-in text.
#include <string>

namespace rtl {

struct TResStringRec {
    int Identifier;
    const char* Text;
};

inline std::string LoadResString(const TResStringRec* rec) { return rec && rec->Text ? rec->Text : ""; }

} // namespace rtl
