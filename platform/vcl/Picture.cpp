#include "platform/vcl/Picture.h"

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/BitmapStreams.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Jpeg.h"

#include <algorithm>

namespace {

std::vector<TPicture::TFileFormat>& Formats()
{
    static std::vector<TPicture::TFileFormat> formats{
        {"bmp", "Bitmaps", TGraphicClass::Of<TBitmap>()},
        {"ico", "Icons", TGraphicClass::Of<TIcon>()},
        {"jpg", "JPEG Image File", TGraphicClass::Of<TJPEGImage>()},
        {"jpeg", "JPEG Image File", TGraphicClass::Of<TJPEGImage>()},
    };
    return formats;
}

std::vector<TPicture::TFileFormat>::iterator FindFormat(const std::string& extension)
{
    auto& formats = Formats();
    return std::find_if(formats.begin(), formats.end(),
                        [&](const TPicture::TFileFormat& f) { return rtl::SameText(f.Extension, extension); });
}

bool OfClass(const TPicture::TFileFormat& f, TGraphicClass graphicClass)
{
    return !graphicClass || f.GraphicClass.InheritsFrom(*graphicClass.Meta());
}

} // namespace

void TMetafile::LoadFromStream(rtl::TStream*) { throw EInvalidGraphic("Metafile pictures are not supported"); }

std::unique_ptr<TGraphic> CopyGraphic(TGraphic* graphic)
{
    if (!graphic)
        return nullptr;
    const TGraphicClass cls = TGraphicClass::FromMeta(&graphic->ClassType());
    if (!cls) {
        // A class that was never made through a class reference: a bitmap of its looks.
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetSize(graphic->GetWidth(), graphic->GetHeight());
        bmp->Canvas()->Draw(0, 0, graphic);
        return bmp;
    }
    std::unique_ptr<TGraphic> copy(cls.Create());
    try {
        copy->Assign(graphic);
    } catch (const rtl::Exception&) {
        rtl::TMemoryStream bytes;
        graphic->SaveToStream(&bytes);
        bytes.SetPosition(0);
        copy->LoadFromStream(&bytes);
    }
    return copy;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(TGraphic* graphic)
{
    if (graphic == graphic_.get())
        return;
    graphic_.reset(graphic);
    Changed();
}

TBitmap* TPicture::Bitmap()
{
    if (auto* bmp = dynamic_cast<TBitmap*>(graphic_.get()))
        return bmp;
    graphic_ = std::make_unique<TBitmap>();
    Changed();
    return static_cast<TBitmap*>(graphic_.get());
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    const auto dot = fileName.find_last_of("./\\");
    const std::string extension =
        dot != std::string::npos && fileName[dot] == '.' ? fileName.substr(dot + 1) : std::string();
    const TGraphicClass graphicClass = FileFormatClass(extension);
    if (!graphicClass)
        throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
    std::unique_ptr<TGraphic> graphic(graphicClass.Create());
    rtl::TFileStream file(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    graphic->LoadFromStream(&file);
    graphic_ = std::move(graphic);
    Changed();
}

void TPicture::SaveToFile(const std::string& fileName)
{
    if (!graphic_)
        return;
    rtl::TFileStream file(fileName, rtl::fmCreate);
    graphic_->SaveToStream(&file);
}

void TPicture::Assign(rtl::TPersistent* source)
{
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (picture != this)
            SetGraphic(CopyGraphic(picture->GetGraphic()).release());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        if (graphic != graphic_.get())
            SetGraphic(CopyGraphic(graphic).release());
    } else if (auto* clipboard = dynamic_cast<TClipboard*>(source)) {
        auto bmp = std::make_unique<TBitmap>();
        if (clipboard->GetBitmap(bmp.get()))
            SetGraphic(bmp.release());
    } else {
        rtl::TPersistent::Assign(source);
    }
}

void TPicture::AssignTo(rtl::TPersistent* dest)
{
    auto* clipboard = dynamic_cast<TClipboard*>(dest);
    auto* target = dynamic_cast<TBitmap*>(dest);
    if (!clipboard && !target) {
        rtl::TPersistent::AssignTo(dest);
        return;
    }
    TBitmap bmp;
    if (auto* own = dynamic_cast<TBitmap*>(graphic_.get()))
        bmp.Assign(own);
    else if (auto* jpeg = dynamic_cast<TJPEGImage*>(graphic_.get()))
        bmp.Assign(jpeg->Bitmap());
    else if (graphic_ && !graphic_->GetEmpty()) {
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(graphic_->GetWidth(), graphic_->GetHeight());
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect({0, 0, bmp.GetWidth(), bmp.GetHeight()});
        bmp.Canvas()->Draw(0, 0, graphic_.get());
    }
    if (clipboard)
        clipboard->Assign(&bmp);
    else
        target->Assign(&bmp);
}

bool TPicture::SupportsClipboardFormat(unsigned format) { return format == CF_BITMAP || format == CF_PICTURE; }

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  TGraphicClass graphicClass)
{
    auto it = FindFormat(extension);
    if (it != Formats().end())
        *it = {extension, description, graphicClass};
    else
        Formats().push_back({extension, description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass graphicClass)
{
    auto& formats = Formats();
    formats.erase(std::remove_if(formats.begin(), formats.end(),
                                 [&](const TFileFormat& f) { return f.GraphicClass == graphicClass; }),
                  formats.end());
}

TGraphicClass TPicture::FileFormatClass(const std::string& extension)
{
    auto it = FindFormat(extension);
    return it != Formats().end() ? it->GraphicClass : TGraphicClass();
}

std::vector<TPicture::TFileFormat> TPicture::FileFormats() { return Formats(); }

std::string GraphicFilter(TGraphicClass graphicClass)
{
    std::string all, entries;
    int count = 0;
    for (const auto& f : Formats()) {
        if (!OfClass(f, graphicClass))
            continue;
        const std::string mask = "*." + rtl::LowerCase(f.Extension);
        all += (count++ ? ";" : "") + mask;
        entries += "|" + f.Description + " (" + mask + ")|" + mask;
    }
    if (count == 0)
        return {};
    return "All (" + all + ")|" + all + entries;
}

std::string GraphicExtension(TGraphicClass graphicClass)
{
    for (const auto& f : Formats())
        if (f.GraphicClass == graphicClass)
            return f.Extension;
    return {};
}
