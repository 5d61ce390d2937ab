// The image library's brush, pen and graphics wrappers, and the PNG picture's registration,
// clipboard form and drawing through a graphics.
#include "GdiPlusTestSupport.h"
#include "platform/gdi/Dc.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Picture.h"
#include "tests/platform/vcl/VclTestSupport.h"
#include "toolkit/core/dxGDIPlusClasses.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <memory>

namespace {

using namespace cx;

using Canvas = GpCanvas;

constexpr std::uint32_t kWhite = 0x00FFFFFF, kRed = 0x00FF0000, kBlue = 0x000000FF;
constexpr ARGB kOpaqueRed = 0xFFFF0000, kOpaqueBlue = 0xFF0000FF;

} // namespace

TEST(dxGDIPlusObjects, BrushesKeepTheirValuesAndTheLastFailure)
{
    // A brush made without arguments reports NotImplemented once.
    TdxGPBrush empty;
    EXPECT_EQ(empty.GetLastStatus(), NotImplemented);
    EXPECT_EQ(empty.GetLastStatus(), Ok);

    TdxGPSolidBrush solid(0x80112233);
    EXPECT_EQ(solid.GetLastStatus(), Ok);
    EXPECT_EQ(solid.GetType(), BrushTypeSolidColor);
    EXPECT_EQ(solid.GetColor(), 0x80112233u);
    EXPECT_EQ(solid.SetColor(kOpaqueRed), Ok);
    EXPECT_EQ(solid.GetColor(), kOpaqueRed);

    TdxGPLinearGradientBrush linear({1, 2, 30, 40}, kOpaqueRed, kOpaqueBlue, LinearGradientModeVertical);
    EXPECT_EQ(linear.GetType(), BrushTypeLinearGradient);
    ARGB c1 = 0, c2 = 0;
    EXPECT_EQ(linear.GetLinearColors(c1, c2), Ok);
    EXPECT_EQ(c1, kOpaqueRed);
    EXPECT_EQ(c2, kOpaqueBlue);
    const TdxGPRect rect = linear.GetRectangle();
    EXPECT_EQ(rect.X + rect.Y + rect.Width + rect.Height, 73);
    EXPECT_EQ(linear.GetWrapMode(), WrapModeTile);
    EXPECT_EQ(linear.SetWrapMode(WrapModeTileFlipX), Ok);
    EXPECT_EQ(linear.GetWrapMode(), WrapModeTileFlipX);
    // A refused call is kept as the last status until it is read.
    EXPECT_EQ(linear.SetWrapMode(WrapMode(9)), InvalidParameter);
    EXPECT_EQ(linear.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(linear.GetLastStatus(), Ok);

    TdxGPHatchBrush hatch(HatchStyleCross, kOpaqueRed, kOpaqueBlue);
    EXPECT_EQ(hatch.GetType(), BrushTypeHatchFill);
    EXPECT_EQ(hatch.GetHatchStyle(), HatchStyleCross);
    EXPECT_EQ(hatch.GetForegroundColor(), kOpaqueRed);
    EXPECT_EQ(hatch.GetBackgroundColor(), kOpaqueBlue);

    // A clone is a plain brush with its own copy of the native brush.
    std::unique_ptr<TdxGPBrush> clone(hatch.Clone());
    EXPECT_EQ(clone->GetType(), BrushTypeHatchFill);
    EXPECT_NE(clone->GetNativeBrush(), hatch.GetNativeBrush());
    // Asking a brush of another kind for a value is refused, not a crash.
    TdxGPSolidBrush asked;
    EXPECT_EQ(asked.GetColor(), 0u);
    EXPECT_EQ(asked.GetLastStatus(), InvalidParameter);
    TdxGPLinearGradientBrush noGradient({0, 0, 0, 5}, kOpaqueRed, kOpaqueBlue, LinearGradientModeHorizontal);
    EXPECT_EQ(noGradient.GetLastStatus(), InvalidParameter);
}

TEST(dxGDIPlusObjects, PensHandOutTheirFillAsTheMatchingBrushKind)
{
    TdxGPPen pen(kOpaqueRed, 3);
    EXPECT_EQ(pen.GetLastStatus(), Ok);
    EXPECT_EQ(pen.GetWidth(), 3.0f);
    EXPECT_EQ(pen.SetWidth(2), Ok);
    EXPECT_EQ(pen.GetWidth(), 2.0f);
    EXPECT_EQ(pen.GetAlignment(), PenAlignmentCenter);
    EXPECT_EQ(pen.SetAlignment(PenAlignmentInset), Ok);
    EXPECT_EQ(pen.GetAlignment(), PenAlignmentInset);
    EXPECT_EQ(pen.GetColor(), kOpaqueRed);

    GpBrush* texture = nullptr;
    QImage tile(2, 2, QImage::Format_ARGB32);
    tile.fill(Qt::green);
    ASSERT_EQ(GdipCreateTexture(tile, WrapModeTile, &texture), Ok);
    TdxGPBrush textureBrush(texture, Ok);
    TdxGPHatchBrush hatch(HatchStyleVertical, kOpaqueRed, kOpaqueBlue);
    TdxGPLinearGradientBrush linear({0, 0, 4, 4}, kOpaqueRed, kOpaqueBlue, LinearGradientModeHorizontal);
    TdxGPSolidBrush solid(kOpaqueBlue);
    struct Case {
        TdxGPBrush* fill;
        PenType type;
        const rtl::TClassMeta& wrapper;
    } cases[] = {
        {&solid, PenTypeSolidColor, TdxGPSolidBrush::StaticClass()},
        {&hatch, PenTypeHatchFill, TdxGPHatchBrush::StaticClass()},
        {&textureBrush, PenTypeTextureFill, TdxGPTextureBrush::StaticClass()},
        {&linear, PenTypeLinearGradient, TdxGPLinearGradientBrush::StaticClass()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.type));
        ASSERT_EQ(pen.SetBrush(c.fill), Ok);
        EXPECT_EQ(pen.GetPenType(), c.type);
        std::unique_ptr<TdxGPBrush> brush(pen.GetBrush());
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(&brush->ClassType(), &c.wrapper);
        EXPECT_EQ(brush->GetType(), BrushType(c.type));
        EXPECT_NE(brush->GetNativeBrush(), c.fill->GetNativeBrush());
        // Only a pen of one colour has a colour.
        EXPECT_EQ(pen.GetColor(), c.type == PenTypeSolidColor ? kOpaqueBlue : 0u);
    }
    std::unique_ptr<TdxGPBrush> hatchCopy(TdxGPPen(&hatch).GetBrush());
    EXPECT_EQ(static_cast<TdxGPHatchBrush*>(hatchCopy.get())->GetHatchStyle(), HatchStyleVertical);
}

TEST(dxGDIPlusObjects, GraphicsDrawShapesUnderTheClipAndOrigin)
{
    Canvas c(40, 40);
    TdxGPGraphics g(c.Dc());
    ASSERT_EQ(g.GetLastStatus(), Ok);
    EXPECT_EQ(g.GetHDC(), c.Dc());
    TdxGPSolidBrush red(kOpaqueRed);
    TdxGPPen blue(kOpaqueBlue);

    // Filled rectangles cover width x height pixels; half opaque composes over white.
    EXPECT_EQ(g.FillRectangle(&red, {2, 2, 3, 2}), Ok);
    EXPECT_EQ(c.At(2, 2), kRed);
    EXPECT_EQ(c.At(4, 3), kRed);
    EXPECT_EQ(c.At(5, 3), kWhite);
    EXPECT_EQ(c.At(4, 4), kWhite);
    TdxGPSolidBrush halfRed(0x80FF0000);
    g.FillRectangle(&halfRed, {10, 2, 1, 1});
    EXPECT_EQ(c.At(10, 2), 0x00FF7F7Fu);

    // An outline has its border and not its inside; a line has its end points.
    g.DrawRectangle(&blue, {20, 20, 10, 10});
    EXPECT_EQ(c.At(20, 25), kBlue);
    EXPECT_EQ(c.At(30, 25), kBlue);
    EXPECT_EQ(c.At(25, 30), kBlue);
    EXPECT_EQ(c.At(25, 25), kWhite);
    g.DrawLine(&blue, 2, 10, 8, 10);
    EXPECT_EQ(c.At(2, 10), kBlue);
    EXPECT_EQ(c.At(8, 10), kBlue);
    EXPECT_EQ(c.At(5, 11), kWhite);

    // An ellipse fills its middle, not its corners; a pie its quarter only.
    Canvas e(20, 20);
    TdxGPGraphics ge(e.Dc());
    ge.FillEllipse(&red, {0, 0, 20, 20});
    EXPECT_EQ(e.At(10, 10), kRed);
    EXPECT_EQ(e.At(0, 0), kWhite);
    EXPECT_EQ(e.At(19, 19), kWhite);
    Canvas pie(20, 20);
    TdxGPGraphics gp(pie.Dc());
    gp.FillPie(&red, {0, 0, 20, 20}, 0, 90); // clockwise from the x axis: the lower right quarter
    EXPECT_EQ(pie.At(14, 14), kRed);
    EXPECT_EQ(pie.At(5, 5), kWhite);
    EXPECT_EQ(pie.At(14, 5), kWhite);

    // A polygon in alternate mode leaves the overlap of its two turns empty.
    Canvas poly(20, 20);
    TdxGPGraphics gpoly(poly.Dc());
    const TdxGPPoint twice[] = {{0, 0}, {12, 0}, {12, 12}, {0, 12}, {0, 0}, {6, 6}, {18, 6}, {18, 18}, {6, 18}, {6, 6}};
    gpoly.FillPolygon(&red, twice, 10);
    EXPECT_EQ(poly.At(3, 3), kRed);
    EXPECT_EQ(poly.At(9, 9), kWhite);
    EXPECT_EQ(poly.At(15, 15), kRed);

    // A hatch paints its lines in the fore colour from the world origin.
    Canvas h(16, 16);
    TdxGPGraphics gh(h.Dc());
    TdxGPHatchBrush cross(HatchStyleCross, kOpaqueRed, kOpaqueBlue);
    gh.FillRectangle(&cross, {0, 0, 16, 16});
    EXPECT_EQ(h.At(0, 3), kRed);
    EXPECT_EQ(h.At(8, 5), kRed);
    EXPECT_EQ(h.At(3, 3), kBlue);

    // The clip and the window origin of the device context hold for every shape.
    Canvas k(20, 20);
    gdi::IntersectClipRect(*k.Dc(), {5, 5, 10, 10});
    gdi::SetWindowOrgEx(*k.Dc(), -2, 0);
    TdxGPGraphics gk(k.Dc());
    gk.FillEllipse(&red, {-50, -50, 120, 120});
    EXPECT_EQ(k.Count(kRed), 25);
    Canvas o(20, 20);
    gdi::SetWindowOrgEx(*o.Dc(), -2, 0);
    TdxGPGraphics go(o.Dc());
    go.FillRectangle(&red, {0, 0, 1, 1});
    EXPECT_EQ(o.At(2, 0), kRed);
    EXPECT_EQ(o.Count(kRed), 1);

    // Clear takes every pixel under the clip; bad arguments are refused and kept.
    gk.Clear(0xFF00FF00);
    EXPECT_EQ(k.At(6, 6), 0x0000FF00u);
    EXPECT_EQ(k.At(0, 0), kWhite);
    const TdxGPPoint one[] = {{1, 1}};
    EXPECT_EQ(g.DrawPolygon(&blue, one, 1), InvalidParameter);
    EXPECT_EQ(g.FillEllipse(nullptr, {0, 0, 4, 4}), InvalidParameter);
    EXPECT_EQ(g.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(g.GetLastStatus(), Ok);
    TdxGPGraphics none(nullptr);
    EXPECT_EQ(none.GetLastStatus(), InvalidParameter);
}

TEST(dxGDIPlusObjects, CurvesAndHugeShapesDrawOnlyTheirVisiblePart)
{
    Canvas c(40, 40);
    TdxGPGraphics g(c.Dc());
    TdxGPPen blue(kOpaqueBlue);
    // A curve passes through its points; a Bézier through its ends.
    const TdxGPPoint points[] = {{2, 20}, {20, 4}, {38, 20}};
    EXPECT_EQ(g.DrawCurve(&blue, points, 3), Ok);
    EXPECT_EQ(c.At(20, 4), kBlue);
    EXPECT_EQ(c.At(2, 20), kBlue);
    EXPECT_EQ(g.DrawBezier(&blue, 0, 35, 10, 25, 30, 25, 39, 35), Ok);
    EXPECT_EQ(c.At(0, 35), kBlue);
    EXPECT_EQ(g.DrawClosedCurve(&blue, points, 3), Ok);
    EXPECT_EQ(g.DrawArc(&blue, {5, 5, 30, 30}, 0, 180), Ok);
    EXPECT_EQ(c.At(20, 35), kBlue); // the arc's lowest point

    // Shapes reaching far beyond the surface are drawn at once, only where they show.
    Canvas big(30, 30);
    TdxGPGraphics gb(big.Dc());
    TdxGPSolidBrush red(kOpaqueRed);
    const auto start = std::chrono::steady_clock::now();
    gb.DrawLine(&blue, -(1 << 30), 5, 1 << 30, 5);
    gb.FillRectangle(&red, {INT_MAX - 10, 0, INT_MAX, 10});
    gb.FillRectangle(&red, {-(1 << 30), 20, INT_MAX, 5});
    const TdxGPPoint huge[] = {{-(1 << 30), -(1 << 30)}, {1 << 30, -(1 << 30)}, {0, 1 << 30}};
    gb.FillPolygon(&red, huge, 3);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(big.At(15, 15), kRed);
    EXPECT_EQ(gb.GetLastStatus(), Ok);
}

TEST(dxGDIPlusObjects, GraphicsFillsMatchTheDeviceContextFills)
{
    Canvas a(6, 6), b(6, 6);
    dxGpFillRectByGradient(a.Dc(), {0, 0, 6, 6}, 0xFF000000, 0x80FFFFFF, LinearGradientModeForwardDiagonal);
    GpGraphics* graphics = nullptr;
    ASSERT_EQ(GdipCreateFromHDC(b.Dc(), &graphics), Ok);
    dxGpFillRectByGradient(graphics, {0, 0, 6, 6}, 0xFF000000, 0x80FFFFFF, LinearGradientModeForwardDiagonal);
    dxGpFillRect(graphics, {0, 0, 2, 2}, ARGB(0x40FF0000));
    GdipDeleteGraphics(graphics);
    dxGpFillRect(a.Dc(), {0, 0, 2, 2}, ARGB(0x40FF0000));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
    // A device context the library cannot use raises.
    EXPECT_THROW(dxGpFillRect(nullptr, {0, 0, 1, 1}, clRed), rtl::EAssertionFailed);
}

TEST(dxGDIPlusObjects, PngPicturesRegisterLoadAndGoToTheClipboard)
{
    EnsureVclApp();
    EXPECT_FALSE(TPicture::FileFormatClass("png"));
    dxGDIPlusClassesUnit::Initialize();
    EXPECT_EQ(dxGPImageClass().Meta(), &TdxGPImage::StaticClass());
    ASSERT_TRUE(TPicture::FileFormatClass("png"));
    EXPECT_EQ(TPicture::FileFormatClass("PNG").Meta(), &TdxPNGImage::StaticClass());
    EXPECT_EQ(rtl::GetClass("TdxPNGImage"), &TdxPNGImage::StaticClass());

    // A picture loads a PNG file through the registered class.
    QTemporaryDir dir;
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(QColor(255, 0, 0, 128));
    const QString name = QDir(dir.path()).filePath("p.png");
    ASSERT_TRUE(source.save(name, "PNG"));
    TPicture picture;
    picture.LoadFromFile(name.toStdString());
    auto* png = dynamic_cast<TdxPNGImage*>(picture.GetGraphic());
    ASSERT_NE(png, nullptr);
    EXPECT_EQ(png->GetWidth(), 3);
    EXPECT_TRUE(png->GetIsAlphaUsed());
    EXPECT_THROW(picture.LoadFromFile(QDir(dir.path()).filePath("x.qqq").toStdString()), EInvalidGraphic);
    EXPECT_EQ(picture.GetGraphic(), png);

    // On the clipboard a picture is a bitmap drawn over white; it comes back as a 32-bit one.
    unsigned format = 0;
    TBitmap data;
    png->SaveToClipboardFormat(format, &data);
    EXPECT_EQ(format, unsigned(CF_BITMAP));
    EXPECT_EQ(data.GetWidth(), 3);
    EXPECT_EQ(data.ScanLine(0)[0] & 0xFFFFFF, 0x00FF7F7Fu);
    Clipboard()->Assign(&data);
    TdxPNGImage back;
    EXPECT_FALSE(back.LoadFromClipboardFormat(CF_TEXT, Clipboard()));
    ASSERT_TRUE(back.LoadFromClipboardFormat(CF_BITMAP, Clipboard()));
    EXPECT_EQ(back.GetWidth(), 3);
    EXPECT_EQ(back.GetHeight(), 2);
    // The clipboard's bitmap has no alpha of its own: the pasted picture is opaque, not blank.
    EXPECT_FALSE(back.GetIsAlphaUsed());
    std::unique_ptr<TBitmap> pasted(back.GetAsBitmap());
    EXPECT_EQ(pasted->ScanLine(1)[2], 0xFFFF7F7Fu);

    // A graphics draws the picture as StretchDraw does.
    Canvas viaGraphics(6, 4), viaDc(6, 4);
    TdxGPGraphics g(viaGraphics.Dc());
    png->StretchDrawEx(&g, {0, 0, 6, 4}, {0, 0, 3, 2});
    png->StretchDraw(viaDc.Dc(), {0, 0, 6, 4});
    EXPECT_EQ(viaGraphics.At(4, 3), viaDc.At(4, 3));
    EXPECT_EQ(viaDc.At(4, 3) & 0xFFFFFF, 0x00FF7F7Fu);

    dxGDIPlusClassesUnit::Finalize();
    EXPECT_FALSE(TPicture::FileFormatClass("png"));
    EXPECT_EQ(rtl::GetClass("TdxPNGImage"), nullptr);
    EXPECT_EQ(dxGPImageClass().Meta(), &TdxGPNullImage::StaticClass());
}
