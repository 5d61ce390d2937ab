#pragma once
// cxStyles: styles (bitmap, color, font, text color, each assigned or not), the style repository
// that lists styles and style sheets, the styles collections whose slots refer to styles and
// fall back to a style sheet, style sheets, and their INI files.
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/TypInfo.h"
#include "platform/vcl/Graphics.h"
#include "toolkit/core/cxClasses.h"
#include "toolkit/core/cxGraphics.h"

namespace cx {

enum TcxStyleValue { svBitmap, svColor, svFont, svTextColor };
using TcxStyleValues = Set<TcxStyleValue>;

class TcxCustomStyle;
class TcxStyle;
class TcxStyleRepository;
class TcxCustomStyles;
class TcxCustomStyleSheet;

// Told when a style changes or dies; a listener must remove itself in StyleRemoved.
class IcxStyleChangeListener {
public:
    virtual ~IcxStyleChangeListener() = default;
    virtual void StyleChanged(TcxCustomStyle* sender) = 0;
    virtual void StyleRemoved(TcxCustomStyle* sender) = 0;
};

// Told when the default font of a control changed.
class IcxFontListener {
public:
    virtual ~IcxFontListener() = default;
    virtual void DefaultFontChanged(TPersistent* sender, TFont* font) = 0;
};

class TcxCustomStyle : public TComponent {
    RTL_CLASS(TcxCustomStyle, TComponent)
    explicit TcxCustomStyle(TComponent* owner) : TComponent(owner) {}
    ~TcxCustomStyle() override;
    void BeforeDestruction() override;

    virtual void Changed();
    virtual void AddListener(IcxStyleChangeListener* listener);
    virtual void RemoveListener(IcxStyleChangeListener* listener);
    virtual void RestoreDefaults() {}

    // Changes between BeginUpdate and the outermost EndUpdate send one Changed at the end.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    int Index() const;
    TcxStyleRepository* StyleRepository() const { return repository_; }
    void SetStyleRepository(TcxStyleRepository* value);
    TComponent* GetParentComponent() override;
    bool HasParent() override { return repository_ != nullptr; }
    void SetParentComponent(TComponent* parent) override;
    int ListenerCount() const { return static_cast<int>(listeners_.size()); }

private:
    friend class TcxStyleRepository;
    std::vector<IcxStyleChangeListener*> listeners_;
    TcxStyleRepository* repository_ = nullptr;
    int updateCount_ = 0;
    bool pendingChange_ = false;
};
using TcxCustomStyleClass = TClassRef<TcxCustomStyle, TComponent*>;

class TcxStyle : public TcxCustomStyle {
    RTL_CLASS(TcxStyle, TcxCustomStyle)
    explicit TcxStyle(TComponent* owner);
    ~TcxStyle() override;
    void Assign(TPersistent* source) override;
    void RestoreDefaults() override;

    TcxStyleValues AssignedValues() const { return assignedValues_; }
    void SetAssignedValues(TcxStyleValues value);
    TBitmap* Bitmap() const { return bitmap_.get(); }
    void SetBitmap(TBitmap* value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value);
    TColor TextColor() const { return textColor_; }
    void SetTextColor(TColor value);
    // The bitmap has no change event of its own: who draws on it calls this.
    void BitmapChanged();

private:
    void FontChanged(TObject* sender);
    TcxStyleValues assignedValues_;
    std::unique_ptr<TBitmap> bitmap_;
    TColor color_ = clDefault;
    std::unique_ptr<TFont> font_;
    TColor textColor_ = clDefault;
};
using TcxStyleClass = TClassRef<TcxCustomStyle, TComponent*>;

using TcxCustomStyleSheetClass = TClassRef<TcxCustomStyleSheet, TComponent*>;

class TcxStyleRepository : public TComponent {
    RTL_CLASS(TcxStyleRepository, TComponent)
    explicit TcxStyleRepository(TComponent* owner) : TComponent(owner) {}
    ~TcxStyleRepository() override;
    void BeforeDestruction() override;

    virtual TcxCustomStyle* CreateItem(TcxCustomStyleClass styleClass);
    virtual TcxCustomStyle* CreateItemEx(TcxCustomStyleClass styleClass, TComponent* owner);
    virtual TcxCustomStyleSheet* CreateStyleSheet(TcxCustomStyleSheetClass styleSheetClass);
    virtual TcxCustomStyleSheet* CreateStyleSheetEx(TcxCustomStyleSheetClass styleSheetClass, TComponent* owner);

    int Count() const { return static_cast<int>(styles_.size()); }
    TcxCustomStyle* Items(int index) const { return styles_.at(index); }
    int StyleSheetCount() const { return static_cast<int>(styleSheets_.size()); }
    TcxCustomStyleSheet* StyleSheets(int index) const { return styleSheets_.at(index); }
    int StyleIndexOf(TcxCustomStyle* style) const;
    int StyleSheetIndexOf(TcxCustomStyleSheet* styleSheet) const;
    void Clear();
    void ClearStyleSheets();
    int GetScaledValue(int value) const;

    int PixelsPerInch = 0;
    bool Scalable = false;

private:
    friend class TcxCustomStyle;
    friend class TcxCustomStyleSheet;
    void AddItem(TcxCustomStyle* style);
    void RemoveItem(TcxCustomStyle* style);
    void AddStyleSheet(TcxCustomStyleSheet* sheet);
    void RemoveStyleSheet(TcxCustomStyleSheet* sheet);
    std::vector<TcxCustomStyle*> styles_;
    std::vector<TcxCustomStyleSheet*> styleSheets_;
};

class TcxCustomStylesItem : public TObject {
    RTL_CLASS(TcxCustomStylesItem, TObject)
    TcxCustomStylesItem(int index, TcxCustomStyle* style) : Index(index), Item(style) {}
    int Index;
    TcxCustomStyle* Item;
};

class TcxCustomStyles : public TcxInterfacedPersistent, public IcxStyleChangeListener {
    RTL_CLASS(TcxCustomStyles, TcxInterfacedPersistent)
    explicit TcxCustomStyles(TPersistent* owner);
    ~TcxCustomStyles() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    TcxCustomStyle* GetValue(int index);
    void SetValue(int index, TcxCustomStyle* value);
    int Count() const { return static_cast<int>(items_.size()); }
    TcxCustomStylesItem* Items(int index) const { return items_.at(index).get(); }
    bool Find(int index, int& position) const;
    void Delete(int position);
    void Clear();
    // Slot changes between BeginUpdate and the outermost EndUpdate are told once each, in the
    // order they first happened, when the update ends.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    TcxCustomStyleSheet* StyleSheet() const { return styleSheet_; }
    void SetStyleSheet(TcxCustomStyleSheet* value);
    bool IsValidStyleSheet(TcxCustomStyleSheet* styleSheet);
    TcxCustomStyleSheet* OwnerStyleSheet() const { return ownerStyleSheet_; }

    void StyleChanged(TcxCustomStyle* sender) override;
    void StyleRemoved(TcxCustomStyle* sender) override;
    virtual void DoChanged(int index);

protected:
    virtual void Changed(int index) {}
    bool IsDestroying() const { return destroying_; }

private:
    friend class TcxCustomStyleSheet;
    bool OwnerIsWriting();
    TcxCustomStyle* InheritedFormStyle(TcxCustomStyle* value);
    void CollectSheetIndexes(TcxCustomStyleSheet* sheet, std::vector<int>& indexes);
    bool destroying_ = false;
    std::vector<std::unique_ptr<TcxCustomStylesItem>> items_;
    TcxCustomStyleSheet* styleSheet_ = nullptr;
    TcxCustomStyleSheet* ownerStyleSheet_ = nullptr;
    int updateCount_ = 0;
    std::vector<int> pending_;
};
using TcxCustomStylesClass = TClassRef<TcxCustomStyles, TPersistent*>;

class TcxStyles : public TcxCustomStyles, public IcxFontListener {
    RTL_CLASS(TcxStyles, TcxCustomStyles)
    explicit TcxStyles(TPersistent* owner) : TcxCustomStyles(owner) {}

    TcxStyle* GetValue(int index) { return dynamic_cast<TcxStyle*>(TcxCustomStyles::GetValue(index)); }
    void SetValue(int index, TcxStyle* value) { TcxCustomStyles::SetValue(index, value); }
    void GetViewParams(int index, TObject* data, TcxStyle* style, TcxViewParams& params);
    virtual void GetDefaultViewParams(int index, TObject* data, TcxViewParams& params);
    virtual bool IsDefaultFont(int index);
    TBitmap* GetBitmap(int index);
    void DefaultFontChanged(TPersistent* sender, TFont* font) override;
    int MaxDefaultViewParamsIndex() const { return maxDefaultIndex_; }

protected:
    bool UseBitmapInViewParams = false;

private:
    int maxDefaultIndex_ = 0;
};

bool UseStyle(TcxStyle* style, TcxStyleValue value);
TcxStyleValues CombineParamsWithStyle(TcxStyle* style, TcxStyleValues values, TcxViewParams& params);

// --- style sheets -------------------------------------------------------------------------------
class TcxCustomStyleSheet : public TcxComponent {
    RTL_CLASS(TcxCustomStyleSheet, TcxComponent)
    explicit TcxCustomStyleSheet(TComponent* owner);
    ~TcxCustomStyleSheet() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* source) override;

    // The styles class of the sheet's control; the sheet's styles are of this class.
    virtual TcxCustomStylesClass GetStylesClass() const { return TcxCustomStylesClass::Of<TcxCustomStyles>(); }
    TcxCustomStyles* Styles();
    std::string GetCaption() const;
    void SetCaption(const std::string& value);
    bool BuiltIn = false;
    void CopyFrom(TcxCustomStyleSheet* styleSheet);
    void DoStyleChanged(int index);
    int Index() const;
    TcxStyleRepository* StyleRepository() const { return repository_; }
    void SetStyleRepository(TcxStyleRepository* value);
    TComponent* GetParentComponent() override;
    bool HasParent() override { return repository_ != nullptr; }
    void SetParentComponent(TComponent* parent) override;
    void AddStyles(TcxCustomStyles* styles);
    void RemoveStyles(TcxCustomStyles* styles);
    int UserCount() const { return static_cast<int>(users_.size()); }

protected:
    void GetFakeComponentLinks(TList* list) override;

private:
    friend class TcxStyleRepository;
    std::string caption_;
    UniqueObject<TcxCustomStyles> styles_;
    std::vector<TcxCustomStyles*> users_;
    TcxStyleRepository* repository_ = nullptr;
};

void RegisterStyleSheetClass(TcxCustomStyleSheetClass styleSheetClass);
void UnregisterStyleSheetClass(TcxCustomStyleSheetClass styleSheetClass);
void GetRegisteredStyleSheetClasses(std::vector<TcxCustomStyleSheetClass>& list);

using TcxStyleGetName = Event<std::string(TcxStyle* style)>;

// The slots of a styles class: its published properties of the exact type TcxStyle, by name.
std::vector<const TPropInfo*> cxStyleSlotProperties(const TClassMeta& stylesClass);

void CreateStyleSheetStyles(TcxCustomStyleSheet* destStyleSheet, TcxCustomStyleSheet* sourceStyleSheet,
                            TcxStyleGetName getStyleName = {});
void SaveStyleSheetsToIniFile(const std::string& fileName, const std::vector<TcxCustomStyleSheet*>& styleSheets);
void LoadStyleSheetsFromIniFile(const std::string& fileName, TcxStyleRepository* repository,
                                TcxCustomStyleSheetClass styleSheetClass, TStrings* sectionNames = nullptr,
                                TComponent* owner = nullptr, std::vector<TcxCustomStyleSheet*>* styleSheets = nullptr,
                                TcxStyleGetName getStyleName = {});

// A style's bitmap is kept in the style-sheet INI file in the bitmap file form of
// platform/vcl/BitmapStreams, cut into hex pieces.

namespace cxStylesUnit {
void Initialize();
void Finalize();   // frees the style-sheet class list
} // namespace cxStylesUnit

} // namespace cx
