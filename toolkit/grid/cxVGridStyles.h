#pragma once
// cxVGridStyles: the vertical grid's styles (content, background, inactive, selection, category,
// header, incremental search) with the events that pick a style per row or value, the styles of
// one row, and the grid's style sheet. Each look is resolved from the first style in a fixed
// order that assigns a value; what none assigns comes from the grid's paint style.
#include "toolkit/core/cxStyles.h"
#include "toolkit/grid/cxInplaceControl.h"
#include "toolkit/grid/cxVGrid.h"

namespace cx {

inline constexpr int vgs_Content = 0;
inline constexpr int vgs_Background = 1;
inline constexpr int vgs_Inactive = 2;
inline constexpr int vgs_Selection = 3;
inline constexpr int vgs_Category = 4;
inline constexpr int vgs_Header = 5;
inline constexpr int vgs_IncSearch = 6;

using TcxvgOnGetItemStyleEvent = Event<void(TObject* sender, TcxCustomRow* row, TcxStyle*& style)>;
using TcxvgOnGetContentStyleEvent = Event<void(TObject* sender, TcxCustomEditorRowProperties* editProp, bool focused,
                                               int recordIndex, TcxStyle*& style)>;

// What a content request is about, handed to the defaults as their data.
class TcxvgContentRequest : public TObject {
    RTL_CLASS(TcxvgContentRequest, TObject)
    TcxvgContentRequest(bool focused, int recordIndex) : Focused(focused), RecordIndex(recordIndex) {}
    bool Focused;
    int RecordIndex;
};

class TcxVerticalGridStyles : public TcxCustomControlStyles {
    RTL_CLASS(TcxVerticalGridStyles, TcxCustomControlStyles)
    explicit TcxVerticalGridStyles(TPersistent* owner) : TcxCustomControlStyles(owner) {}
    void Assign(TPersistent* source) override;
    void GetDefaultViewParams(int index, TObject* data, TcxViewParams& params) override;

    virtual TcxViewParams GetCategoryParams(TcxCustomRow* row);
    virtual TcxViewParams GetContentParams(TcxCustomEditorRowProperties* editProp, bool focused, int recordIndex);
    virtual TcxViewParams GetHeaderParams(TcxCustomRow* row);
    TcxViewParams GetIncSearchParams();
    // The selection look, then whatever the header event's style assigns.
    TcxViewParams GetSelectedHeaderParams(TcxCustomRow* row);
    // Selection while the grid has the focus, else the inactive look.
    TcxViewParams GetSelectionParams();
    TcxViewParams GetBackgroundParams();
    // The style an item event names for the row; null when the event is not assigned.
    TcxStyle* GetStyleFromEvent(TcxCustomRow* row, const TcxvgOnGetItemStyleEvent& event);

    TcxStyle* Background() { return GetValue(vgs_Background); }
    void SetBackground(TcxStyle* value) { SetValue(vgs_Background, value); }
    TcxStyle* Category() { return GetValue(vgs_Category); }
    void SetCategory(TcxStyle* value) { SetValue(vgs_Category, value); }
    TcxStyle* Content() { return GetValue(vgs_Content); }
    void SetContent(TcxStyle* value) { SetValue(vgs_Content, value); }
    TcxStyle* Header() { return GetValue(vgs_Header); }
    void SetHeader(TcxStyle* value) { SetValue(vgs_Header, value); }
    TcxStyle* IncSearch() { return GetValue(vgs_IncSearch); }
    void SetIncSearch(TcxStyle* value) { SetValue(vgs_IncSearch, value); }
    TcxStyle* Inactive() { return GetValue(vgs_Inactive); }
    void SetInactive(TcxStyle* value) { SetValue(vgs_Inactive, value); }
    TcxStyle* Selection() { return GetValue(vgs_Selection); }
    void SetSelection(TcxStyle* value) { SetValue(vgs_Selection, value); }

    TcxvgOnGetItemStyleEvent OnGetCategoryStyle;
    TcxvgOnGetItemStyleEvent OnGetHeaderStyle;
    TcxvgOnGetContentStyleEvent OnGetContentStyle;

    // The grid that owns these styles; null for the styles of a style sheet.
    TcxCustomVerticalGrid* Grid() const;

private:
    TcxViewParams Resolve(int index, TObject* data, std::initializer_list<TcxStyle*> styles);
};
using TcxVerticalGridStylesClass = TClassRef<TcxCustomControlStyles, TPersistent*>;

// A row's own styles; a change lays the grid out again without rebuilding the row list.
class TcxvgCustomRowStyles : public TcxStyles {
    RTL_CLASS(TcxvgCustomRowStyles, TcxStyles)
    explicit TcxvgCustomRowStyles(TPersistent* owner) : TcxStyles(owner) {}
    TcxCustomRow* Row() const;

protected:
    void Changed(int index) override;
};

inline constexpr int vgrs_Header = 0;
inline constexpr int vgrs_Content = 1;

class TcxCategoryRowStyles : public TcxvgCustomRowStyles {
    RTL_CLASS(TcxCategoryRowStyles, TcxvgCustomRowStyles)
    explicit TcxCategoryRowStyles(TPersistent* owner) : TcxvgCustomRowStyles(owner) {}
    void Assign(TPersistent* source) override;
    TcxStyle* Header() { return GetValue(vgrs_Header); }
    void SetHeader(TcxStyle* value) { SetValue(vgrs_Header, value); }
};

class TcxEditorRowStyles : public TcxCategoryRowStyles {
    RTL_CLASS(TcxEditorRowStyles, TcxCategoryRowStyles)
    explicit TcxEditorRowStyles(TPersistent* owner) : TcxCategoryRowStyles(owner) {}
    void Assign(TPersistent* source) override;
    TcxStyle* Content() { return GetValue(vgrs_Content); }
    void SetContent(TcxStyle* value) { SetValue(vgrs_Content, value); }
};

class TcxVerticalGridStyleSheet : public TcxCustomStyleSheet {
    RTL_CLASS(TcxVerticalGridStyleSheet, TcxCustomStyleSheet)
    explicit TcxVerticalGridStyleSheet(TComponent* owner) : TcxCustomStyleSheet(owner) {}
    TcxCustomStylesClass GetStylesClass() const override
    {
        return TcxCustomStylesClass::Of<TcxVerticalGridStyles>();
    }
    TcxVerticalGridStyles* Styles() { return static_cast<TcxVerticalGridStyles*>(TcxCustomStyleSheet::Styles()); }
};

// The header style a row's own styles give (its Header slot), or null.
TcxStyle* cxvgRowHeaderStyle(TcxCustomRow* row);
// The content style a row's own styles give (an editor row's Content slot), or null.
TcxStyle* cxvgRowContentStyle(TcxCustomRow* row);

} // namespace cx
