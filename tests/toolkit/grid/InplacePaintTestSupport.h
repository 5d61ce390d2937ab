#pragma once
// A painted test control: one record, text items as cells of 60 x 24 pixels side by side, each
// with a grid line on its right and bottom, laid out through the cells' clipping; the fake font
// (16 pixels high) and the form shown and activated.
#include "tests/toolkit/grid/InplaceTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/gdi/Surface.h"
#include "platform/gdi/Text.h"
#include "toolkit/editors/cxTextEdit.h"

#include <QImage>
#include <QtTest/QTest>

class TcxPaintRowViewInfo : public TcxCustomControlViewInfo {
    RTL_CLASS(TcxPaintRowViewInfo, TcxCustomControlViewInfo)
    using TcxCustomControlViewInfo::TcxCustomControlViewInfo;
    static constexpr int CellWidth = 60, CellHeight = 24;
    int ScrollLeft = 0;
    TcxBorders CellBorders = cxBorder(bRight) | cxBorder(bBottom);

protected:
    void DoCalculate() override
    {
        TcxEditingControl* c = Control();
        for (int i = 0; i < c->ItemCount(); ++i) {
            auto* cell = new TcxEditCellViewInfo(this, c->Items(i), 0);
            cell->Borders = CellBorders;
            cell->CheckClipping(TRect(i * CellWidth - ScrollLeft, 0, (i + 1) * CellWidth - ScrollLeft, CellHeight));
            AddCell(cell);
        }
    }
};

class TcxPaintRowControl : public TcxTestEditingControl {
    RTL_CLASS(TcxPaintRowControl, TcxTestEditingControl)
    using TcxTestEditingControl::TcxTestEditingControl;
    TcxCustomControlViewInfoClass GetViewInfoClass() const override
    {
        return TcxCustomControlViewInfoClass::Of<TcxPaintRowViewInfo>();
    }
    TcxPaintRowViewInfo* Layout() { return static_cast<TcxPaintRowViewInfo*>(ViewInfo()); }
    TcxTestItem* AddTextItem(const std::string& value)
    {
        TcxTestItem* item = AddItem("String");
        item->SetPropertiesClassName("TcxTextEditProperties");
        DataController()->SetRecordCount(1);
        DataController()->SetValue(0, item->DataItemIndex(), Variant(value));
        return item;
    }
};

class InplacePaintTest : public InplaceTest {
protected:
    void SetUp() override
    {
        InplaceTest::SetUp();
        gdi::SetFontEngine(gdi::MakeFakeFontEngine());
        cxTextEditUnit::Initialize();
        control->Free();
        grid = new TcxPaintRowControl(form);
        grid->SetParent(form);
        grid->SetBorderStyle(cxcbsNone);
        grid->SetBounds(0, 0, 200, 60);
        grid->Font()->SetHeight(-16);
    }
    void TearDown() override
    {
        form->Free();
        form = nullptr;
        cxTextEditUnit::Finalize();
        gdi::SetFontEngine(nullptr);
        InplaceTest::TearDown();
    }
    void Show()
    {
        Activate(form);
        grid->LayoutChanged();
        grid->Update();
    }
    TcxEditCellViewInfo* Cell(int index) { return grid->ViewInfo()->Cells(index); }
    TColor Pixel(int x, int y)
    {
        grid->Update();
        return TColor(gdi::PixelToColor(grid->Surface().Pixel(x, y)));
    }
    // How many pixels of r have the colour.
    int Count(const TRect& r, TColor color)
    {
        grid->Update();
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += TColor(gdi::PixelToColor(grid->Surface().Pixel(x, y))) == TColor(ColorToRGB(color));
        return n;
    }
    void SavePng(const char* name)
    {
        grid->Update();
        SaveTestPicture(
            grid->Surface().Image().convertToFormat(QImage::Format_RGB32).scaled(grid->Width() * 3, grid->Height() * 3), name);
    }
    void MoveMouse(int x, int y) { QTest::mouseMove(grid->Peer(), QPoint(x, y)); }
    TcxPaintRowControl* grid = nullptr;
};
