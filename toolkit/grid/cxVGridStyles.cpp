#include "toolkit/grid/cxVGridStyles.h"

#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/grid/cxVGridViewInfo.h"

namespace cx {

// --- TcxVerticalGridStyles ------------------------------------------------------------------------
TcxCustomVerticalGrid* TcxVerticalGridStyles::Grid() const
{
    return dynamic_cast<TcxCustomVerticalGrid*>(const_cast<TcxVerticalGridStyles*>(this)->GetOwner());
}

void TcxVerticalGridStyles::Assign(TPersistent* source)
{
    if (auto* styles = dynamic_cast<TcxVerticalGridStyles*>(source)) {
        BeginUpdate();
        for (int index = vgs_Content; index <= vgs_IncSearch; ++index)
            SetValue(index, styles->GetValue(index));
        OnGetCategoryStyle = styles->OnGetCategoryStyle;
        OnGetHeaderStyle = styles->OnGetHeaderStyle;
        OnGetContentStyle = styles->OnGetContentStyle;
        EndUpdate();
    }
    TcxCustomControlStyles::Assign(source);
}

void TcxVerticalGridStyles::GetDefaultViewParams(int index, TObject* data, TcxViewParams& params)
{
    TcxCustomControlStyles::GetDefaultViewParams(index, data, params);
    if (TcxCustomVerticalGrid* grid = Grid())
        grid->GetDefaultViewParams(index, data, params);
}

TcxViewParams TcxVerticalGridStyles::Resolve(int index, TObject* data, std::initializer_list<TcxStyle*> styles)
{
    TcxViewParams params;
    cxStylesToViewParams(this, index, data, std::vector<TcxStyle*>(styles), params);
    return params;
}

TcxStyle* TcxVerticalGridStyles::GetStyleFromEvent(TcxCustomRow* row, const TcxvgOnGetItemStyleEvent& event)
{
    TcxStyle* style = nullptr;
    if (event)
        event(Grid(), row, style);
    return style;
}

TcxViewParams TcxVerticalGridStyles::GetCategoryParams(TcxCustomRow* row)
{
    return Resolve(vgs_Category, nullptr,
                   {GetStyleFromEvent(row, OnGetCategoryStyle), cxvgRowHeaderStyle(row), Category()});
}

TcxViewParams TcxVerticalGridStyles::GetContentParams(TcxCustomEditorRowProperties* editProp, bool focused,
                                                     int recordIndex)
{
    TcxStyle* eventStyle = nullptr;
    if (OnGetContentStyle)
        OnGetContentStyle(Grid(), editProp, focused, recordIndex, eventStyle);
    TcxvgContentRequest request(focused, recordIndex);
    return Resolve(vgs_Content, &request,
                   {eventStyle, cxvgRowContentStyle(editProp ? editProp->Row() : nullptr), Content()});
}

TcxViewParams TcxVerticalGridStyles::GetHeaderParams(TcxCustomRow* row)
{
    return Resolve(vgs_Header, nullptr, {GetStyleFromEvent(row, OnGetHeaderStyle), cxvgRowHeaderStyle(row), Header()});
}

TcxViewParams TcxVerticalGridStyles::GetIncSearchParams() { return Resolve(vgs_IncSearch, nullptr, {IncSearch()}); }

TcxViewParams TcxVerticalGridStyles::GetBackgroundParams() { return Resolve(vgs_Background, nullptr, {Background()}); }

TcxViewParams TcxVerticalGridStyles::GetSelectionParams()
{
    TcxCustomVerticalGrid* grid = Grid();
    // The grid counts as focused also while its in-place editor has the focus.
    const bool active = grid && (grid->Controller()->Focused() || grid->Focused());
    return active ? Resolve(vgs_Selection, nullptr, {Selection()}) : Resolve(vgs_Inactive, nullptr, {Inactive()});
}

TcxViewParams TcxVerticalGridStyles::GetSelectedHeaderParams(TcxCustomRow* row)
{
    TcxViewParams params = GetSelectionParams();
    if (TcxStyle* style = GetStyleFromEvent(row, OnGetHeaderStyle))
        CombineParamsWithStyle(style, TcxStyleValues{}, params);
    return params;
}

// --- row styles -----------------------------------------------------------------------------------
TcxCustomRow* TcxvgCustomRowStyles::Row() const
{
    return dynamic_cast<TcxCustomRow*>(const_cast<TcxvgCustomRowStyles*>(this)->GetOwner());
}

void TcxvgCustomRowStyles::Changed(int index)
{
    TcxStyles::Changed(index);
    if (TcxCustomRow* row = Row())
        row->Changed(false);
}

void TcxCategoryRowStyles::Assign(TPersistent* source)
{
    if (auto* styles = dynamic_cast<TcxCategoryRowStyles*>(source))
        SetHeader(styles->Header());
    TcxvgCustomRowStyles::Assign(source);
}

void TcxEditorRowStyles::Assign(TPersistent* source)
{
    if (auto* styles = dynamic_cast<TcxEditorRowStyles*>(source))
        SetContent(styles->Content());
    TcxCategoryRowStyles::Assign(source);
}

TcxStyle* cxvgRowHeaderStyle(TcxCustomRow* row)
{
    auto* styles = row ? dynamic_cast<TcxCategoryRowStyles*>(row->Styles()) : nullptr;
    return styles ? styles->Header() : nullptr;
}

TcxStyle* cxvgRowContentStyle(TcxCustomRow* row)
{
    auto* styles = row ? dynamic_cast<TcxEditorRowStyles*>(row->Styles()) : nullptr;
    return styles ? styles->Content() : nullptr;
}

// --- class choices of the grid and its rows -------------------------------------------------------
TcxCustomControlStylesClass TcxCustomVerticalGrid::GetControlStylesClass() const
{
    return TcxCustomControlStylesClass::Of<TcxVerticalGridStyles>();
}

TcxVerticalGridStyles* TcxCustomVerticalGrid::Styles()
{
    return static_cast<TcxVerticalGridStyles*>(TcxExtEditingControl::Styles());
}

TcxvgCustomRowStylesClass TcxCustomRow::GetStylesClass() const
{
    return TcxvgCustomRowStylesClass::Of<TcxvgCustomRowStyles>();
}

TcxvgCustomRowStylesClass TcxCategoryRow::GetStylesClass() const
{
    return TcxvgCustomRowStylesClass::Of<TcxCategoryRowStyles>();
}

TcxvgCustomRowStylesClass TcxCustomEditorRow::GetStylesClass() const
{
    return TcxvgCustomRowStylesClass::Of<TcxEditorRowStyles>();
}

TcxvgCustomRowStylesClass TcxCustomMultiEditorRow::GetStylesClass() const
{
    return TcxvgCustomRowStylesClass::Of<TcxEditorRowStyles>();
}

TcxvgCustomRowStyles* TcxCustomRow::Styles()
{
    if (!styles_)
        styles_.reset(GetStylesClass().Create(this));
    return styles_.get();
}

} // namespace cx
