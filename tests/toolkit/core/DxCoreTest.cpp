#include <gtest/gtest.h>

#include "toolkit/core/cxLibraryStrs.h"
#include "toolkit/core/dxCore.h"

using namespace cx;

TEST(DxCore, ElfHashIgnoresCase)
{
    EXPECT_EQ(dxElfHash("abc"), dxElfHash("ABC"));
    EXPECT_EQ(dxElfHash(""), 0u);
    EXPECT_EQ(dxElfHash("A"), 0x41u);
    EXPECT_EQ(dxElfHash("非本地址"), dxElfHash(u"非本地址"));
    // Long texts fold the top bits back in and stay within 28 bits.
    EXPECT_LT(dxElfHash("a rather long property name that overflows"), 0x10000000u);
}

TEST(DxCore, HexHelpersRejectInvalidDigits)
{
    EXPECT_EQ(dxBinToHex(std::string("\x01\xAB\xFF", 3)), "01ABFF");
    EXPECT_EQ(dxHexToBin("01abFF7"), std::string("\x01\xAB\xFF", 3));
    EXPECT_THROW(dxHexToBin("0G"), EConvertError);
    EXPECT_THROW(dxHexToBin("12 3"), EConvertError);
}

TEST(DxCore, CharsetsCodePagesAndColours)
{
    EXPECT_EQ(dxGetCodePageFromCharset(130), 949);
    EXPECT_EQ(dxGetCodePageFromCharset(134), 936);
    EXPECT_EQ(dxGetCodePageFromCharset(163), 0);
    const std::string gbk = "\xB7\xC7\xB1\xBE\xB5\xD8\xD6\xB7";
    std::u16string wide = dxAnsiStringToWideString(gbk, 936);
    EXPECT_EQ(wide, u"非本地址");
    EXPECT_EQ(dxWideStringToAnsiString(wide, 936), gbk);
    EXPECT_EQ(dxWideStringToAnsiString(wide, 0), "非本地址");
    // A character the code page lacks becomes one '?', whatever its length in UTF-8.
    EXPECT_EQ(dxWideStringToAnsiString(u"a非b", 1252), "a?b");
    EXPECT_EQ(dxAnsiStringToWideString("caf\xE9", 1252), u"café");
    EXPECT_EQ(dxColorToRGBQuad(0x0000FF, 0), 0x00FF0000u);
    EXPECT_EQ(dxColorToRGBQuad(static_cast<TColor>(0x8000000F), 0xFF), 0xFFD4D0C8u);   // button face
    TdxAnsiCharSet digits = TdxAnsiCharSet::Range('0', '9');
    EXPECT_TRUE(dxCharInSet('5', digits));
    EXPECT_FALSE(dxCharInSet('a', digits));
    EXPECT_TRUE(dxCharIsAlpha('q'));
    EXPECT_FALSE(dxCharIsNumeric('\xE9'));
}

TEST(DxCore, StringTypesOfEachCharacter)
{
    Word types[8] = {};
    ASSERT_TRUE(dxGetStringTypeW(CT_CTYPE1, u"A1 电", 4, types));
    EXPECT_TRUE(types[0] & C1_UPPER);
    EXPECT_TRUE(types[1] & C1_DIGIT);
    EXPECT_TRUE(types[2] & C1_SPACE);
    EXPECT_TRUE(types[3] & C1_ALPHA);
    ASSERT_TRUE(dxGetStringTypeA(0, CT_CTYPE1, "a,", -1, types));   // to the terminator, typed too
    EXPECT_TRUE(types[0] & C1_LOWER);
    EXPECT_TRUE(types[1] & C1_PUNCT);
    EXPECT_EQ(types[2], C1_CNTRL);
    // Only the first kind of flags is known; nothing, or a null text, fails.
    EXPECT_FALSE(dxGetStringTypeW(CT_CTYPE2, u"A", 1, types));
    EXPECT_FALSE(dxGetStringTypeA(0, CT_CTYPE1, nullptr, 1, types));
    EXPECT_FALSE(dxGetStringTypeW(CT_CTYPE1, u"A", 0, types));
}

TEST(DxCore, PointerSlotsKeepAllBits)
{
    void* slot = nullptr;
    void* value = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x123456789ABCDEF0ULL));
    WritePointer(&slot, value);
    EXPECT_EQ(ReadPointer(&slot), value);
}

TEST(DxCore, StreamSignatureProbe)
{
    struct Case { std::string data; bool unicode; std::int64_t position; };
    const Case cases[] = {
        {"DXUFMT", false, 0},          // exactly six bytes left: not enough, nothing read
        {"DXUFMT!", true, 6},
        {"DXAFMT!", false, 6},
        {"XXXXXXX", false, 0},
    };
    for (const Case& c : cases) {
        TMemoryStream s(std::vector<Byte>(c.data.begin(), c.data.end()));
        EXPECT_EQ(dxIsUnicodeStream(&s), c.unicode) << c.data;
        EXPECT_EQ(s.Position(), c.position) << c.data;
    }
    TMemoryStream out;
    dxWriteStreamType(&out);
    out.WriteBuffer("x", 1);
    out.SetPosition(0);
    TdxStream wrapped(&out);
    EXPECT_FALSE(wrapped.IsUnicode());
    EXPECT_EQ(wrapped.Position(), 6);
}

TEST(DxCore, CountedStrings)
{
    TMemoryStream s;
    dxWriteStr(&s, std::string(70000, 'x'));
    EXPECT_EQ(s.Size(), 2 + 65535);
    s.SetPosition(0);
    EXPECT_EQ(dxReadStr(&s, false).size(), 65535u);

    TMemoryStream w(std::vector<Byte>{2, 0, 0x5E, 0x97, 'a', 0});
    EXPECT_EQ(dxReadStr(&w, true), "非a");

    // A stream shorter than its announced length raises and leaves the target as it was.
    TMemoryStream shortStream(std::vector<Byte>{5, 0, 'a', 'b'});
    std::string target = "untouched";
    EXPECT_THROW(dxReadStr(&shortStream, false, target), EReadError);
    EXPECT_EQ(target, "untouched");
}

TEST(DxCore, ReadStringFromStreamKeepsOnlyWhatWasRead)
{
    TMemoryStream s(std::vector<Byte>{'a', 'b', 'c', 'd'});
    s.SetPosition(1);
    std::string text;
    EXPECT_EQ(ReadStringFromStream(&s, text), 3);
    EXPECT_EQ(text, "bcd");
}

namespace {
const TResStringRec sFirst = {1, "first text"};
const TResStringRec sSecond = {2, "second text"};
const TResStringRec sOther = {3, "other text"};
void AddFirstProduct(TdxProductResourceStrings* p)
{
    p->Add("sSecond", &sSecond);
    p->Add("sFirst", &sFirst);
    p->Add("SFIRST", &sOther);   // a name already there is ignored
}
void AddSecondProduct(TdxProductResourceStrings* p) { p->Add("sfirst", &sOther); }

struct Listener : IdxLocalizerListener {
    int calls = 0;
    void TranslationChanged() override { ++calls; }
};
} // namespace

TEST(DxCore, ResourceStringsRepository)
{
    TdxResourceStringsRepository repo;
    repo.RegisterProduct("One", &AddFirstProduct);
    repo.RegisterProduct("Two", &AddSecondProduct);
    TdxProductResourceStrings* one = repo.GetProducts(0);
    ASSERT_EQ(one->GetResStringsCount(), 2);
    EXPECT_EQ(one->GetNames(0), "sFirst");
    EXPECT_EQ(one->GetIndexByName("SSECOND"), 1);
    EXPECT_EQ(repo.GetOriginalValue("sfirst"), "first text");   // the product registered first
    EXPECT_EQ(repo.GetOriginalValue("nothing"), "");
    EXPECT_EQ(repo.GetProductIndexByName("two"), -1);

    repo.Translate();   // no event: nothing happens
    std::vector<std::string> seen;
    repo.OnTranslateString = [&](const std::string& name, const TResStringRec* rec) { seen.push_back(name + ":" + rec->Text); };
    repo.Translate();
    std::vector<std::string> expected = {"sFirst:first text", "sSecond:second text", "sfirst:other text"};
    EXPECT_EQ(seen, expected);

    Listener l;
    repo.AddListener(&l);
    repo.AddListener(&l);
    repo.NotifyListeners();
    EXPECT_EQ(l.calls, 1);
    repo.RemoveListener(&l);
    repo.UnRegisterProduct("One");
    repo.UnRegisterProduct("Missing");
    EXPECT_EQ(repo.GetProductsCount(), 1);
}

TEST(CxLibraryStrs, RegisteredUnderTheProductKeyInTableOrder)
{
    const auto& table = cxLibraryResourceStringTable();
    ASSERT_EQ(table.size(), 24u);
    EXPECT_STREQ(table[0].name, "scxCantCreateRegistryKey");
    EXPECT_EQ(table[0].resString->Identifier, 65302);
    EXPECT_STREQ(table[10].name, "cxSDateWednesday");
    EXPECT_EQ(table[10].resString->Identifier, 65280);
    EXPECT_STREQ(table[23].name, "cxSDateNow");

    cxLibraryStrsUnit::Initialize();
    TdxResourceStringsRepository* repo = dxResourceStringsRepository();
    int index = repo->GetProductIndexByName("VedavivIzodero");
    ASSERT_GE(index, 0);
    TdxProductResourceStrings* product = repo->GetProducts(index);
    ASSERT_EQ(product->GetResStringsCount(), 24);
    for (const auto& entry : table)
        EXPECT_EQ(product->GetResString(product->GetIndexByName(entry.name)), entry.resString) << entry.name;
    EXPECT_EQ(repo->GetOriginalValue("scxCantCreateRegistryKey"), "Can't create the registry key: \\%s");
    cxLibraryStrsUnit::Finalize();
    EXPECT_EQ(repo->GetProductIndexByName("VedavivIzodero"), -1);
}
