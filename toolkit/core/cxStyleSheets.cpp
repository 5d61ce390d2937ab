// Style sheets, the style-sheet class list and the style-sheet INI files of cxStyles.
#include <algorithm>
#include <fstream>
#include <set>

#include "platform/rtl/MemIniFile.h"
#include "toolkit/core/cxStyles.h"
#include "platform/vcl/BitmapStreams.h"

namespace cx {

// --- TcxCustomStyleSheet ------------------------------------------------------------------------
TcxCustomStyleSheet::TcxCustomStyleSheet(TComponent* owner) : TcxComponent(owner)
{
    BuiltIn = owner && owner->ComponentState().Contains(csDesigning);
}

TcxCustomStyleSheet::~TcxCustomStyleSheet() { SetStyleRepository(nullptr); }

void TcxCustomStyleSheet::BeforeDestruction()
{
    if (!GetIsDestroying())
        Destroying();
    while (!users_.empty()) {
        TcxCustomStyles* last = users_.back();
        last->SetStyleSheet(nullptr);
        if (!users_.empty() && users_.back() == last)
            users_.pop_back();
    }
    SetStyleRepository(nullptr);
    styles_.reset();
    TcxComponent::BeforeDestruction();
}

// Made on first use, so that the class a descendant names is the one created.
TcxCustomStyles* TcxCustomStyleSheet::Styles()
{
    if (!styles_) {
        styles_.reset(GetStylesClass().Create(this));
        styles_->ownerStyleSheet_ = this;
    }
    return styles_.get();
}

std::string TcxCustomStyleSheet::GetCaption() const { return caption_.empty() ? Name() : caption_; }

void TcxCustomStyleSheet::SetCaption(const std::string& value)
{
    if (value == caption_)
        return;
    if (AnsiSameText(value, Name()))
        caption_.clear();
    else
        caption_ = value;
}

void TcxCustomStyleSheet::Assign(TPersistent* source)
{
    if (auto* sheet = dynamic_cast<TcxCustomStyleSheet*>(source)) {
        caption_ = sheet->caption_;
        Styles()->Assign(sheet->Styles());
    } else
        TcxComponent::Assign(source);
}

void TcxCustomStyleSheet::CopyFrom(TcxCustomStyleSheet* styleSheet)
{
    if (!styleSheet || styleSheet->GetStylesClass() != GetStylesClass())
        return;
    TcxCustomStyles* source = styleSheet->Styles();
    for (int i = 0; i < source->Count(); ++i) {
        TcxCustomStylesItem* item = source->Items(i);
        TcxCustomStyleClass cls = TcxCustomStyleClass::FromMeta(&item->Item->ClassType());
        if (!cls)
            cls = TcxCustomStyleClass::Of<TcxStyle>();
        TcxCustomStyle* style = repository_ ? repository_->CreateItemEx(cls, repository_->Owner()) : cls.Create(Owner());
        style->Assign(item->Item);
        Styles()->SetValue(item->Index, style);
    }
}

void TcxCustomStyleSheet::DoStyleChanged(int index)
{
    std::vector<TcxCustomStyles*> users = users_;
    for (TcxCustomStyles* styles : users)
        styles->DoChanged(index);
    UpdateFakeLinks();
}

void TcxCustomStyleSheet::GetFakeComponentLinks(TList* list)
{
    if (!Owner() || !styles_)
        return;
    for (int i = 0; i < styles_->Count(); ++i) {
        TComponent* owner = styles_->Items(i)->Item->Owner();
        if (owner != Owner() && list->IndexOf(owner) < 0)
            list->Add(owner);
    }
}

int TcxCustomStyleSheet::Index() const
{
    return repository_ ? repository_->StyleSheetIndexOf(const_cast<TcxCustomStyleSheet*>(this)) : -1;
}

void TcxCustomStyleSheet::SetStyleRepository(TcxStyleRepository* value)
{
    if (value == repository_)
        return;
    if (repository_)
        repository_->RemoveStyleSheet(this);
    if (value)
        value->AddStyleSheet(this);
}

TComponent* TcxCustomStyleSheet::GetParentComponent() { return repository_; }

void TcxCustomStyleSheet::SetParentComponent(TComponent* parent)
{
    if (ComponentState().Contains(csLoading))
        return;
    auto* repository = dynamic_cast<TcxStyleRepository*>(parent);
    if (parent && !repository)
        throw EConvertError("Invalid class typecast");
    SetStyleRepository(repository);
}

void TcxCustomStyleSheet::AddStyles(TcxCustomStyles* styles)
{
    if (std::find(users_.begin(), users_.end(), styles) == users_.end())
        users_.push_back(styles);
}

void TcxCustomStyleSheet::RemoveStyles(TcxCustomStyles* styles) { std::erase(users_, styles); }

// --- the style-sheet class list -----------------------------------------------------------------
namespace {
std::vector<TcxCustomStyleSheetClass>*& SheetClasses()
{
    static std::vector<TcxCustomStyleSheetClass>* list = nullptr;
    return list;
}
} // namespace

void RegisterStyleSheetClass(TcxCustomStyleSheetClass styleSheetClass)
{
    auto*& list = SheetClasses();
    if (!list)
        list = new std::vector<TcxCustomStyleSheetClass>;
    if (std::find(list->begin(), list->end(), styleSheetClass) == list->end())
        list->push_back(styleSheetClass);
}

void UnregisterStyleSheetClass(TcxCustomStyleSheetClass styleSheetClass)
{
    if (auto* list = SheetClasses())
        std::erase(*list, styleSheetClass);
}

void GetRegisteredStyleSheetClasses(std::vector<TcxCustomStyleSheetClass>& list)
{
    list.clear();
    if (auto* registered = SheetClasses())
        list = *registered;
}

namespace cxStylesUnit {
namespace {
int initCount = 0;
}
void Initialize()
{
    if (initCount++ == 0) {
        TcxCustomStyleClass::Of<TcxStyle>();
        RegisterClassMeta(TcxStyle::StaticClass());
    }
}
void Finalize()
{
    if (initCount > 0 && --initCount == 0) {
        delete SheetClasses();
        SheetClasses() = nullptr;
    }
}
} // namespace cxStylesUnit

// --- building a sheet's styles from another's --------------------------------------------------
std::vector<const TPropInfo*> cxStyleSlotProperties(const TClassMeta& stylesClass)
{
    std::vector<const TPropInfo*> slots_;
    for (const TPropInfo* p : GetPropList(stylesClass))
        if (p->Kind == tkClass && p->PropClass == &TcxStyle::StaticClass() && p->GetObject)
            slots_.push_back(p);
    std::stable_sort(slots_.begin(), slots_.end(),
                     [](const TPropInfo* a, const TPropInfo* b) { return CompareText(a->Name, b->Name) < 0; });
    return slots_;
}

namespace {
TcxStyle* SlotStyle(const TPropInfo* slot, TcxCustomStyles* styles)
{
    return dynamic_cast<TcxStyle*>(slot->GetObject(styles));
}

void SetSlot(const TPropInfo* slot, TcxCustomStyles* styles, TcxStyle* style)
{
    if (slot->SetObject)
        slot->SetObject(styles, style);
}

TcxStyle* NewStyle(TcxStyleRepository* repository, TComponent* owner, const TcxStyleGetName& getName)
{
    auto cls = TcxCustomStyleClass::Of<TcxStyle>();
    auto* style = static_cast<TcxStyle*>(owner ? repository->CreateItemEx(cls, owner) : repository->CreateItem(cls));
    if (getName.Assigned())
        style->SetName(getName(style));
    return style;
}
} // namespace

void CreateStyleSheetStyles(TcxCustomStyleSheet* dest, TcxCustomStyleSheet* source, TcxStyleGetName getStyleName)
{
    if (!dest || !source || dest->GetStylesClass() != source->GetStylesClass())
        return;
    dest->Styles();   // a styles class lists its slots once it exists
    source->Styles();
    for (const TPropInfo* slot : cxStyleSlotProperties(*dest->GetStylesClass().Meta())) {
        TcxStyle* from = SlotStyle(slot, source->Styles());
        TcxStyle* to = SlotStyle(slot, dest->Styles());
        if (!from)
            SetSlot(slot, dest->Styles(), nullptr);
        else if (to)
            to->Assign(from);
        else if (dest->StyleRepository() && !from->AssignedValues().Empty()) {
            TcxStyle* style = NewStyle(dest->StyleRepository(), dest->Owner(), getStyleName);
            style->Assign(from);
            SetSlot(slot, dest->Styles(), style);
        }
    }
}

// --- INI files ----------------------------------------------------------------------------------
namespace {
constexpr std::size_t kBitmapPieceLength = 2047;

std::string ColorText(bool assigned, TColor color) { return assigned ? IntToStr(color) : "default"; }

std::string StyleText(TcxStyle* style)
{
    TcxStyleValues values = style->AssignedValues();
    std::string text = ColorText(values.Contains(svColor), style->Color()) + ","
        + ColorText(values.Contains(svTextColor), style->TextColor());
    if (values.Contains(svFont)) {
        TFont* font = style->Font();
        TFontStyles fs = font->GetStyle();
        std::string letters;
        if (fs & FontStyle(fsBold)) letters += "B";
        if (fs & FontStyle(fsItalic)) letters += "I";
        if (fs & FontStyle(fsUnderline)) letters += "U";
        if (fs & FontStyle(fsStrikeOut)) letters += "S";
        text += "," + font->GetName() + "," + IntToStr(font->GetSize()) + ",[" + letters + "]";
    }
    return text;
}

TColor ParseColor(const std::string& text)
{
    return SameText(Trim(text), "default") ? clDefault : StrToInt(Trim(text));
}

void FillStyle(TcxStyle* style, const std::string& value)
{
    std::size_t comma = value.find(',');
    if (comma == std::string::npos) {
        style->SetColor(ParseColor(value));
        return;
    }
    style->SetColor(ParseColor(value.substr(0, comma)));
    std::string rest = value.substr(comma + 1);
    comma = rest.find(',');
    if (comma == std::string::npos) {
        style->SetTextColor(ParseColor(rest));
        return;
    }
    style->SetTextColor(ParseColor(rest.substr(0, comma)));
    std::string font = rest.substr(comma + 1);
    comma = font.find(',');
    std::string name = font.substr(0, comma);
    std::string size, letters;
    if (comma != std::string::npos) {
        std::string tail = font.substr(comma + 1);
        std::size_t next = tail.find(',');
        size = tail.substr(0, next);
        letters = next == std::string::npos ? std::string() : tail.substr(next + 1);
    }
    TFont* f = style->Font();
    f->SetName(name);
    int points;
    if (TryStrToInt(Trim(size), points))
        f->SetSize(points);
    TFontStyles fs = 0;
    if (letters.find('B') != std::string::npos) fs |= FontStyle(fsBold);
    if (letters.find('I') != std::string::npos) fs |= FontStyle(fsItalic);
    if (letters.find('U') != std::string::npos) fs |= FontStyle(fsUnderline);
    if (letters.find('S') != std::string::npos) fs |= FontStyle(fsStrikeOut);
    f->SetStyle(fs);
    // A font equal to the default one sends no change: it is still the font given.
    style->SetAssignedValues(style->AssignedValues() + TcxStyleValues{svFont});
}

int WriteSheet(TMemIniFile& ini, TcxCustomStyleSheet* sheet)
{
    int written = 0;
    std::string section = sheet->GetCaption();
    sheet->Styles();   // a styles class lists its slots once it exists
    for (const TPropInfo* slot : cxStyleSlotProperties(*sheet->GetStylesClass().Meta())) {
        TcxStyle* style = SlotStyle(slot, sheet->Styles());
        if (!style)
            continue;
        ini.WriteString(section, slot->Name, StyleText(style));
        ++written;
        TBitmap* bitmap = style->Bitmap();
        if (!style->AssignedValues().Contains(svBitmap) || bitmap->GetWidth() < 1 || bitmap->GetHeight() < 1)
            continue;
        TMemoryStream stream;
        SaveBitmapToStream(bitmap, &stream);
        std::string hex = dxBinToHex(stream.Memory(), static_cast<int>(stream.Size()));
        for (std::size_t i = 0, n = 0; i < hex.size(); i += kBitmapPieceLength, ++n, ++written)
            ini.WriteString(section, slot->Name + "Bitmap" + IntToStr(static_cast<std::int64_t>(n)),
                            hex.substr(i, kBitmapPieceLength));
    }
    return written;
}
} // namespace

void SaveStyleSheetsToIniFile(const std::string& fileName, const std::vector<TcxCustomStyleSheet*>& styleSheets)
{
    TMemIniFile ini(fileName);
    int written = 0;
    for (TcxCustomStyleSheet* sheet : styleSheets)
        written += WriteSheet(ini, sheet);
    if (written > 0) {
        ini.UpdateFile();
        return;
    }
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out)
        throw EFCreateError(Format("Cannot create file \"%s\"", fileName));
}

void LoadStyleSheetsFromIniFile(const std::string& fileName, TcxStyleRepository* repository,
                                TcxCustomStyleSheetClass styleSheetClass, TStrings* sectionNames, TComponent* owner,
                                std::vector<TcxCustomStyleSheet*>* styleSheets, TcxStyleGetName getStyleName)
{
    TMemIniFile ini(fileName);
    TStringList sections;
    if (sectionNames && sectionNames->Count() > 0)
        sections.Assign(sectionNames);
    else
        ini.ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        TStringList keys;
        ini.ReadSection(sections[s], &keys);
        if (keys.Count() == 0)
            continue;
        TcxCustomStyleSheet* sheet = owner ? repository->CreateStyleSheetEx(styleSheetClass, owner)
                                           : repository->CreateStyleSheet(styleSheetClass);
        if (styleSheets)
            styleSheets->push_back(sheet);
        sheet->SetCaption(sections[s]);
        sheet->Styles();   // a styles class lists its slots once it exists
        const TClassMeta& stylesClass = *sheet->GetStylesClass().Meta();
        std::set<std::string> bitmapsRead;
        for (int k = 0; k < keys.Count(); ++k) {
            const std::string key = keys[k];
            if (key.empty())
                continue;
            std::size_t bitmapAt = key.find("Bitmap");
            if (bitmapAt != std::string::npos) {
                std::string slotName = key.substr(0, bitmapAt);
                const TPropInfo* slot = GetPropInfo(stylesClass, slotName);
                if (!slot || slot->PropClass != &TcxStyle::StaticClass() || !bitmapsRead.insert(UpperCase(slotName)).second)
                    continue;
                TcxStyle* style = SlotStyle(slot, sheet->Styles());
                if (!style)
                    continue;
                std::string hex;
                for (int n = 0; ini.ValueExists(sections[s], slotName + "Bitmap" + IntToStr(n)); ++n)
                    hex += ini.ReadString(sections[s], slotName + "Bitmap" + IntToStr(n), "");
                std::string bytes = dxHexToBin(hex);
                TMemoryStream stream(std::vector<Byte>(bytes.begin(), bytes.end()));
                LoadBitmapFromStream(style->Bitmap(), &stream);
                style->BitmapChanged();
                continue;
            }
            const TPropInfo* slot = GetPropInfo(stylesClass, key);
            if (!slot || slot->PropClass != &TcxStyle::StaticClass() || !slot->SetObject)
                continue;
            TcxStyle* style = NewStyle(repository, owner, getStyleName);
            FillStyle(style, ini.ReadString(sections[s], key, ""));
            SetSlot(slot, sheet->Styles(), style);
        }
    }
}

} // namespace cx
