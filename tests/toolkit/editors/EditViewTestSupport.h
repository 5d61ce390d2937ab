#pragma once
// The editor view tests: the editor units around each test, a properties object with buttons, a
// style with a fixed frame, and a stand-in for the editor control.
#include "tests/toolkit/core/PainterTestSupport.h"
#include "toolkit/editors/cxEditConsts.h"
#include "toolkit/editors/cxEditViewInfo.h"

#include <gtest/gtest.h>

#include <memory>

using namespace cx;

// What the editor control would answer; every answer settable.
struct FakeEditHost : IcxEditViewHost {
    TcxContainer* GetEditContainer() override { return nullptr; }
    TcxCustomEditStyle* GetEditActiveStyle() override { return nullptr; }
    bool IsEditFocused() override { return focused; }
    bool HasBackground() override { return false; }
    int GetCaptureButtonVisibleIndex() override { return captureButton; }
    bool HasMouseCapture() override { return mouseCapture; }
    TcxEditSizeConstraints GetSizeConstraints() override { return constraints; }
    TcxEditContentOptions GetEditContentOptions() override { return contentOptions; }
    TcxLookAndFeelKind GetPopupWindowControlsLookAndFeelKind() override { return popupKind; }

    bool focused = false;
    int captureButton = -1;
    bool mouseCapture = false;
    TcxEditSizeConstraints constraints;
    TcxEditContentOptions contentOptions{ecoOffsetButtonContent};
    TcxLookAndFeelKind popupKind = lfFlat;
};

class EditViewTest : public PainterCanvasTest {
protected:
    void SetUp() override
    {
        PainterCanvasTest::SetUp();
        cxEditConstsUnit::Initialize();
        cxEditUnit::Initialize();
        cxEditPaintUtilsUnit::Initialize();
        properties = std::make_unique<TcxCustomEditProperties>(nullptr);
        style = std::make_unique<TcxEditStyle>(nullptr, false);
        style->SetBorderStyle(ebsSingle);
        style->SetTransparentBorder(false);
        style->SetColor(clWindow);
        style->SetBorderColor(clBlack);
        viewInfo = std::make_unique<TcxCustomEditViewInfo>();
    }
    void TearDown() override
    {
        viewInfo.reset();
        viewData.reset();
        style.reset();
        properties.reset();
        cxEditPaintUtilsUnit::Finalize();
        cxEditUnit::Finalize();
        cxEditConstsUnit::Finalize();
        cxClearResourceStrings();
        PainterCanvasTest::TearDown();
    }
    TcxEditButton* AddButton(TcxEditButtonKind kind, int width, bool leftAlignment = false)
    {
        TcxEditButton* b = properties->Buttons()->Add();
        b->SetKind(kind);
        b->SetWidth(width);
        b->SetLeftAlignment(leftAlignment);
        return b;
    }
    TcxCustomEditViewData* MakeViewData(bool isInplace = false)
    {
        viewData.reset(properties->CreateViewData(style.get(), isInplace));
        return viewData.get();
    }
    // Lays the editor out in r (a new view data unless one was made).
    TcxCustomEditViewInfo* Calc(const TRect& r, TPoint p = {-1, -1}, TcxMouseButton button = cxmbNone,
                                TShiftState shift = {}, bool isMouseEvent = false)
    {
        if (!viewData)
            MakeViewData();
        viewData->Calculate(canvas.get(), r, p, button, shift, viewInfo.get(), isMouseEvent);
        return viewInfo.get();
    }
    TRect ButtonBounds(int visibleIndex) const { return viewInfo->ButtonsInfo[visibleIndex]->Bounds; }
    TcxEditButtonState ButtonState(int visibleIndex) const { return viewInfo->ButtonsInfo[visibleIndex]->Data.State; }

    std::unique_ptr<TcxCustomEditProperties> properties;
    std::unique_ptr<TcxEditStyle> style;
    std::unique_ptr<TcxCustomEditViewData> viewData;
    std::unique_ptr<TcxCustomEditViewInfo> viewInfo;
};
