// The image editor: properties, the value and the picture, painting (own size, proportional,
// centred, caption), the clipboard keys, the context menu, files through the picture dialogs,
// scrolling, and cells painted and measured without a control.
#include "EditorKindTestSupport.h"
#include "tests/common/TestPictures.h"

#include "platform/rtl/Filer.h"
#include "platform/rtl/Streams.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/PictureDialogs.h"
#include "platform/vcl/Jpeg.h"
#include "toolkit/editors/cxImage.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace cx;

namespace {

std::unique_ptr<TBitmap> Solid(int w, int h, TColor color)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(w, h);
    bmp->Canvas()->Brush()->SetColor(color);
    bmp->Canvas()->FillRect({0, 0, w, h});
    return bmp;
}

std::string BytesOf(TGraphic* graphic)
{
    rtl::TMemoryStream stream;
    graphic->SaveToStream(&stream);
    return std::string(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

void SavePng(TWinControl* c, const char* name)
{
    c->Update();
    SaveTestPicture(c->Surface().Image().convertToFormat(QImage::Format_RGB32).scaled(c->Width() * 3, c->Height() * 3), name);
}

} // namespace

class CxImageEditorTest : public EditorKindTest {
protected:
    void SetUp() override
    {
        EditorKindTest::SetUp();
        cxImageUnit::Initialize();
        if (HasFatalFailure())
            return;
        image = new TcxImage(form);
        image->SetParent(form);
        image->SetBounds(10, 10, 140, 100);
        image->Style()->SetBorderStyle(cbsSingle);
        image->Style()->GetLookAndFeel()->SetKind(lfStandard);
        props = image->Properties();
    }
    void TearDown() override
    {
        SetMenuPresenter(nullptr);
        SetPictureDialogs({});
        FreeForm();
        cxImageUnit::Finalize();
        EditorKindTest::TearDown();
    }
    void SetPicture(int w, int h, TColor color = clRed)
    {
        auto bmp = Solid(w, h, color);
        image->Picture()->Assign(bmp.get());
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        image->SetFocus();
        QTest::keyClick(image->Peer(), key, m);
        vcl::DrainPostedMessages();
    }
    TMenuItem* MenuItem(TcxPopupMenuItem kind)
    {
        image->UpdateContextMenu();
        TMenuItem* items = image->ContextMenu()->Items();
        for (int i = 0; i < items->Count(); ++i)
            if (items->Items(i)->Tag == kind)
                return items->Items(i);
        return nullptr;
    }
    TcxImage* image = nullptr;
    TcxImageProperties* props = nullptr;
};

TEST_F(CxImageEditorTest, PropertiesDefaultsAndGraphicClassByName)
{
    EXPECT_TRUE(props->Center());
    EXPECT_TRUE(props->Proportional());
    EXPECT_TRUE(props->ShowFocusRect());
    EXPECT_FALSE(props->Stretch());
    EXPECT_EQ(props->GraphicTransparency(), gtDefault);
    EXPECT_EQ(props->PopupMenuLayout()->MenuItems(), TcxPopupMenuLayout::DefaultMenuItems());
    EXPECT_EQ(props->GraphicClassName(), "TBitmap");
    EXPECT_FALSE(props->IsGraphicClassNameStored());
    EXPECT_EQ(image->Width(), 140);
    EXPECT_EQ(image->Height(), 100);
    EXPECT_TRUE(props->GetSupportedOperations().Contains(esoAutoHeight));
    EXPECT_TRUE(props->GetSpecialFeatures().Contains(esfBlobEditValue));

    props->SetGraphicClassName("tjpegimage");
    EXPECT_EQ(props->GraphicClass(), TGraphicClass::Of<TJPEGImage>());
    props->SetGraphicClassName("TNoSuchGraphic");   // unknown: no change
    EXPECT_EQ(props->GraphicClass(), TGraphicClass::Of<TJPEGImage>());
    props->SetGraphicClassName("");
    EXPECT_FALSE(props->GraphicClass());

    EXPECT_EQ(props->GetDisplayText(Null), u"");
    props->SetCaption("(picture)");
    EXPECT_EQ(props->GetDisplayText("x"), u"(picture)");
}

TEST_F(CxImageEditorTest, AnEmptyGraphicClassStreamsAndReadsBack)
{
    auto write = [](TcxCustomImageProperties* p) {
        rtl::TMemoryStream stream;
        {
            rtl::TWriter writer(&stream, 64);
            writer.WriteProperties(p);
        }
        return std::string(reinterpret_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
    };
    const std::string withClass = write(props);
    EXPECT_EQ(withClass.find("IsGraphicClassNameEmpty"), std::string::npos);
    props->SetGraphicClass({});
    const std::string empty = write(props);
    ASSERT_NE(empty.find("IsGraphicClassNameEmpty"), std::string::npos);

    TcxImageProperties other(nullptr);
    EXPECT_TRUE(other.GraphicClass());
    rtl::TMemoryStream stream(std::vector<Byte>(empty.begin(), empty.end()));
    rtl::TReader reader(&stream, 64);
    reader.ReadProperties(&other);
    EXPECT_FALSE(other.GraphicClass());
}

TEST_F(CxImageEditorTest, ValueAndPictureTravelBothWays)
{
    EXPECT_TRUE(image->EditValue().IsNull());
    auto bmp = Solid(20, 10, clBlue);
    const std::string bytes = BytesOf(bmp.get());
    image->SetEditValue(bytes);
    EXPECT_EQ(image->Picture()->GetWidth(), 20);
    EXPECT_EQ(VarToStr(image->EditValue()), bytes);
    EXPECT_FALSE(image->Modified());

    // Neither a string nor an array, an empty string, a short or damaged value: no picture.
    for (const Variant& v : {Variant(42), Variant(std::string()), Variant(std::string("BM12345")),
                             Variant(std::string("BM garbage that is no bitmap"))}) {
        image->SetEditValue(bytes);
        image->SetEditValue(v);
        EXPECT_TRUE(image->Picture()->IsEmpty());
        EXPECT_TRUE(image->EditValue().IsNull());
    }
}

TEST_F(CxImageEditorTest, PaintsCaptionWhileEmptyAndPictureOwnSizeOrShrunk)
{
    props->SetCaption("NONE");
    form->Update();
    SavePng(image, "image_caption.png");
    const TRect client = image->ImageViewInfo()->ClientRect;
    // The fake font's glyphs are solid blocks: the middle row crosses the caption, centred.
    int first = -1, last = -1;
    const int midY = client.Top + client.Height() / 2;
    for (int x = client.Left; x < client.Right; ++x)
        if (PixelOf(image, x, midY) == Sys(clWindowText)) {
            last = x;
            if (first < 0)
                first = x;
        }
    ASSERT_GE(first, 0);
    EXPECT_LE(std::abs((first - client.Left) - (client.Right - 1 - last)), 1);

    SetPicture(20, 10, clRed);
    image->Update();
    TRect d = image->ImageViewInfo()->DrawRect();
    EXPECT_EQ(d.Width(), 20);   // small: own size, centred
    EXPECT_EQ(d.Height(), 10);
    EXPECT_EQ(d.Left - client.Left, (client.Width() - 20) / 2);
    EXPECT_EQ(PixelOf(image, d.Left + 1, d.Top + 1), Sys(clRed));
    EXPECT_EQ(PixelOf(image, client.Left + 2, client.Top + 2), Sys(clWindow));

    SetPicture(400, 100, clGreen);   // large: shrinks keeping its aspect ratio
    image->Update();
    d = image->ImageViewInfo()->DrawRect();
    EXPECT_EQ(d.Width(), client.Width());
    EXPECT_EQ(d.Height(), client.Width() * 100 / 400);
    SavePng(image, "image_proportional.png");

    props->SetProportional(false);   // no stretching asked: clipped at its own size
    image->Update();
    EXPECT_EQ(image->ImageViewInfo()->DrawRect().Width(), 400);
    props->SetStretch(true);
    image->Update();
    EXPECT_EQ(image->ImageViewInfo()->DrawRect(), client);
}

TEST_F(CxImageEditorTest, ClipboardKeysCopyCutAndPaste)
{
    Clipboard()->Clear();
    SetPicture(12, 8, clRed);
    image->SetModified(false);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    EXPECT_FALSE(image->Modified());

    Key(Qt::Key_Delete, Qt::ShiftModifier);   // cut
    EXPECT_TRUE(image->Picture()->IsEmpty());
    EXPECT_TRUE(image->ModifiedAfterEnter());

    Key(Qt::Key_Insert, Qt::ShiftModifier);   // paste
    EXPECT_EQ(image->Picture()->GetWidth(), 12);
    image->Picture()->Assign(nullptr);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(image->Picture()->GetHeight(), 8);

    // A JPEG class keeps a pasted bitmap as a compressed JPEG.
    props->SetGraphicClass(TGraphicClass::Of<TJPEGImage>());
    image->Picture()->Assign(nullptr);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(image->Picture()->GetGraphic()), nullptr);
    EXPECT_EQ(VarToStr(image->EditValue()).substr(0, 2), "\xFF\xD8");

    props->SetReadOnly(true);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(image->Picture()->IsEmpty());
}

TEST_F(CxImageEditorTest, ContextMenuEnablingTable)
{
    Clipboard()->Clear();
    struct Row {
        const char* name;
        bool picture, readOnly, icon;
        bool cut, copy, paste, del, load, save;
    } rows[] = {
        {"empty", false, false, false, false, false, false, false, true, false},
        {"picture", true, false, false, true, true, false, true, true, true},
        {"read-only", true, true, false, false, true, false, false, false, true},
        {"icon class", true, false, true, false, false, false, true, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        props->SetReadOnly(r.readOnly);
        props->SetGraphicClass(r.icon ? TGraphicClass::Of<TIcon>() : TGraphicClass::Of<TBitmap>());
        if (r.picture)
            SetPicture(4, 4);
        else
            image->Picture()->Assign(nullptr);
        EXPECT_EQ(MenuItem(pmiCut)->Enabled, r.cut);
        EXPECT_EQ(MenuItem(pmiCopy)->Enabled, r.copy);
        EXPECT_EQ(MenuItem(pmiPaste)->Enabled, r.paste);
        EXPECT_EQ(MenuItem(pmiDelete)->Enabled, r.del);
        EXPECT_EQ(MenuItem(pmiLoad)->Enabled, r.load);
        EXPECT_EQ(MenuItem(pmiSave)->Enabled, r.save);
    }
    props->SetReadOnly(false);
    props->SetGraphicClass(TGraphicClass::Of<TBitmap>());
    SetPicture(4, 4);
    Clipboard()->Assign(image->Picture());
    EXPECT_TRUE(MenuItem(pmiPaste)->Enabled);
    props->SetGraphicClass(TGraphicClass::Of<TIcon>());   // icons never paste
    EXPECT_FALSE(MenuItem(pmiPaste)->Enabled);

    EXPECT_EQ(MenuItem(pmiCut)->Caption, "Cu&t");
    EXPECT_EQ(MenuItem(pmiSave)->Caption, "Save &As...");
}

TEST_F(CxImageEditorTest, ContextMenuVisibilityAndTheCustomItem)
{
    int customClicks = 0;
    props->OnCustomClick = [&](TObject* sender) {
        EXPECT_EQ(sender, image);
        ++customClicks;
    };
    props->PopupMenuLayout()->SetMenuItems({pmiCopy, pmiCustom});
    props->PopupMenuLayout()->SetCustomMenuItemCaption("Scan...");
    image->UpdateContextMenu();
    TMenuItem* items = image->ContextMenu()->Items();
    std::vector<bool> visible;
    for (int i = 0; i < items->Count(); ++i)
        visible.push_back(items->Items(i)->Visible);
    // Cut Copy Paste Delete | Load Save | Custom
    EXPECT_EQ(visible, (std::vector<bool>{false, true, false, false, false, false, false, true, true}));
    EXPECT_EQ(MenuItem(pmiCustom)->Caption, "Scan...");
    EXPECT_TRUE(MenuItem(pmiCustom)->Enabled);

    // A right click opens the menu; the presenter picks the custom item.
    std::string seen;
    SetMenuPresenter([&](TPopupMenu* menu, TPoint) -> TMenuItem* {
        seen = menu->Items()->Items(8)->Caption;
        return menu->Items()->Items(8);
    });
    QTest::mouseClick(image->Peer(), Qt::RightButton, {}, QPoint(30, 30));
    vcl::DrainPostedMessages();
    EXPECT_EQ(seen, "Scan...");
    EXPECT_EQ(customClicks, 1);

    // Without any item the editor shows no menu of its own.
    props->PopupMenuLayout()->SetMenuItems({});
    seen.clear();
    QTest::mouseClick(image->Peer(), Qt::RightButton, {}, QPoint(30, 30));
    vcl::DrainPostedMessages();
    EXPECT_EQ(seen, "");
}

TEST_F(CxImageEditorTest, MenuDeleteAndLoadSaveThroughTheDialogs)
{
    const QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("cximage_edit_test.bmp").toStdString();
    std::vector<TcxEditCloseUpReason> closes;
    props->OnPopupClosed = [&](TcxControl*, TcxEditCloseUpReason reason) { closes.push_back(reason); };
    std::string saveFilter, saveExt;
    SetPictureDialogs({[&](const std::string&, std::string& name) {
                           name = path;
                           return !closes.empty() || false;
                       },
                       [&](const std::string& filter, const std::string& ext, std::string& name) {
                           saveFilter = filter;
                           saveExt = ext;
                           name = path;
                           return true;
                       }});
    SetPicture(9, 7, clBlue);
    image->SaveToFile();
    EXPECT_EQ(saveExt, "bmp");
    EXPECT_NE(saveFilter.find("*.bmp"), std::string::npos);

    SetMenuPresenter([](TPopupMenu* menu, TPoint) { return menu->Items()->Items(3); });   // Delete
    QTest::mouseClick(image->Peer(), Qt::RightButton, {}, QPoint(30, 30));
    vcl::DrainPostedMessages();
    EXPECT_TRUE(image->Picture()->IsEmpty());
    EXPECT_TRUE(image->ModifiedAfterEnter());

    image->LoadFromFile();   // the first answer is a cancel
    EXPECT_TRUE(image->Picture()->IsEmpty());
    image->LoadFromFile();
    EXPECT_EQ(image->Picture()->GetWidth(), 9);
    EXPECT_EQ(closes, (std::vector<TcxEditCloseUpReason>{crCancel, crEnter}));
    std::remove(path.c_str());
}

TEST_F(CxImageEditorTest, ALargePictureScrollsWithinItsSize)
{
    props->SetCenter(false);
    props->SetProportional(false);
    SetPicture(400, 300, clRed);
    image->Update();
    ASSERT_TRUE(image->HScrollBarVisible());
    ASSERT_TRUE(image->VScrollBarVisible());
    const TRect client = image->ImageViewInfo()->ClientRect;
    int pos = image->HScrollBar()->Position();
    image->HScrollBar()->Scroll(scLineDown, pos);
    EXPECT_EQ(image->ScrollOffset().X, 8);
    pos = image->VScrollBar()->Position();
    image->VScrollBar()->Scroll(scBottom, pos);
    EXPECT_EQ(image->ScrollOffset().Y, 300 - client.Height());
    image->Update();
    EXPECT_EQ(image->ImageViewInfo()->DrawRect().Top, client.Top - (300 - client.Height()));
    SavePng(image, "image_scrolled.png");

    SetPicture(400, 300, clBlue);   // a new picture starts at the top-left again
    EXPECT_EQ(image->ScrollOffset(), (TPoint{0, 0}));
    props->SetCenter(true);   // centred pictures never scroll
    image->Update();
    EXPECT_FALSE(image->HScrollBarVisible());
}

TEST_F(CxImageEditorTest, CellsAreMeasuredAndPaintedWithoutAControl)
{
    std::unique_ptr<TcxCustomEditViewData> data(props->CreateViewData(image->EditStyle(), true));
    auto bmp = Solid(40, 20, clRed);
    const std::string bytes = BytesOf(bmp.get());
    TcxCanvas* canvas = image->Canvas();
    struct Row {
        Variant value;
        int width, height;
        TSize expected;
    } rows[] = {
        {Null, -1, -1, {0, 15}},
        {bytes, -1, -1, {40, 20}},
        {bytes, 20, -1, {20, 10}},    // wider than the room: scaled to the width
        {bytes, -1, 5, {10, 5}},      // without a width, to the height
        {bytes, 100, -1, {40, 20}},   // fits: own size
    };
    for (const Row& r : rows) {
        const TSize s = data->GetEditContentSize(canvas, r.value, {r.height, 0, r.width});
        EXPECT_EQ(s.cx, r.expected.cx) << r.width << "x" << r.height;
        EXPECT_EQ(s.cy, r.expected.cy) << r.width << "x" << r.height;
    }
    props->SetCaption("Empty");
    EXPECT_EQ(data->GetEditContentSize(canvas, Null, {-1, 0, -1}), canvas->TextExtent("Empty"));
    auto odd = Solid(30, 15, clRed);
    EXPECT_EQ(data->GetEditContentSize(canvas, BytesOf(odd.get()), {-1, 0, 7}).cy, 4);   // 3.5 -> 4

    // A cell painted on a bitmap: the picture at its own size in the middle of the cell.
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(100, 60);
    TcxCanvas cellCanvas(target.Canvas());
    std::unique_ptr<TcxImageViewInfo> vi(static_cast<TcxImageViewInfo*>(props->GetViewInfoClass().Create()));
    data->CalculateEx(&cellCanvas, {0, 0, 100, 60}, {-1, -1}, cxmbNone, {}, vi.get(), false);
    data->EditValueToDrawValue(&cellCanvas, bytes, vi.get());
    ASSERT_TRUE(vi->OwnsPicture());
    vi->PaintEx(&cellCanvas);
    const TRect d = vi->DrawRect();
    EXPECT_EQ(d.Width(), 40);
    EXPECT_EQ(target.Canvas()->GetPixel(d.Left + 20, d.Top + 10), clRed);
    EXPECT_EQ(target.Canvas()->GetPixel(2, 2), TColor(ColorToRGB(vi->BackgroundColor)));
    data->EditValueToDrawValue(&cellCanvas, Null, vi.get());
    EXPECT_EQ(vi->Picture(), nullptr);
    EXPECT_EQ(SavePicture(image->Picture()), "");   // the editor's picture was never touched
}

TEST_F(CxImageEditorTest, MenuPicturesAreDrawn)
{
    TImageList* images = cxImageMenuImages();
    ASSERT_EQ(images->Count(), 6);
    EXPECT_EQ(images->GetWidth(), 16);
    std::vector<std::string> looks;
    auto strip = Solid(6 * 16, 16, clWhite);
    TcxCanvas stripCanvas(strip->Canvas());
    for (int i = 0; i < 6; ++i)
        stripCanvas.DrawImage(images, i * 16, 0, i);
    QImage shot(6 * 16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 6 * 16; ++x) {
            const TColor c = strip->Canvas()->GetPixel(x, y);
            shot.setPixel(x, y, qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    SaveTestPicture(shot.scaled(6 * 16 * 6, 16 * 6), "image_menu_pictures.png");
    for (int i = 0; i < 6; ++i) {
        auto bmp = Solid(16, 16, clWhite);
        TcxCanvas c(bmp->Canvas());
        c.DrawImage(images, 0, 0, i);
        looks.push_back(BytesOf(bmp.get()));
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                drawn += bmp->Canvas()->GetPixel(x, y) != clWhite;
        EXPECT_GT(drawn, 20) << i;
        EXPECT_LT(drawn, 256) << i;   // the corner colour stays out
    }
    std::sort(looks.begin(), looks.end());
    EXPECT_EQ(std::unique(looks.begin(), looks.end()), looks.end());
    // The registry knows the kind by its description.
    EXPECT_TRUE(FindRegisteredEditPropertiesClass("TcxImageProperties"));
}

TEST_F(CxImageEditorTest, AutoSizeTakesThePictureAndItsFrame)
{
    const int frameW = image->Width() - image->ImageViewInfo()->ClientRect.Width();
    const int frameH = image->Height() - image->ImageViewInfo()->ClientRect.Height();
    image->SetEditAutoSize(true);
    SetPicture(50, 30);
    EXPECT_EQ(image->Width(), 50 + frameW);
    EXPECT_EQ(image->Height(), 30 + frameH);
    EXPECT_FALSE(image->HScrollBarVisible());   // an auto-sized editor never scrolls
    SetPicture(70, 20);
    EXPECT_EQ(image->Width(), 70 + frameW);
}
