#include "tests/toolkit/grid/VGridPaintTestSupport.h"

#include <cstdlib>

using namespace vgtest;

namespace {

// Writes the grid's surface to a PNG under /tmp for a look by eye (VGRID_PNG=1).
void SaveSurface(TWinControl* c, const char* path)
{
    c->Update();
    if (std::getenv("VGRID_PNG"))
        c->Surface().Image().convertToFormat(QImage::Format_RGB32).scaled(c->Width() * 3, c->Height() * 3).save(path);
}

} // namespace

TEST_F(VGridPaintTest, RendersASmallGridForInspection)
{
    auto* cat = AddCategory("Delays");
    AddEditor("Row 0", cat);
    AddEditor("Row 1", cat);
    AddEditor("Row 2");
    Show(220, 120);
    grid->SetFocusedRow(cat->GetRow(1));
    SaveSurface(grid, "/tmp/vgrid-dotnet.png");
    grid->OptionsView()->SetPaintStyle(psDelphi);
    grid->LayoutChanged();
    SaveSurface(grid, "/tmp/vgrid-3d.png");
    SUCCEED();
}
