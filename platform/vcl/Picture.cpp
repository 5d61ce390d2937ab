#include "platform/vcl/Picture.h"

#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/vcl/BitmapStreams.h"

#include <algorithm>

namespace {

std::vector<TPicture::TFileFormat>& Formats()
{
    static std::vector<TPicture::TFileFormat> formats{{"bmp", "Bitmaps", TGraphicClass::Of<TBitmap>()}};
    return formats;
}

std::vector<TPicture::TFileFormat>::iterator FindFormat(const std::string& extension)
{
    auto& formats = Formats();
    return std::find_if(formats.begin(), formats.end(),
                        [&](const TPicture::TFileFormat& f) { return rtl::SameText(f.Extension, extension); });
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::SetGraphic(TGraphic* graphic) { graphic_.reset(graphic); }

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
}

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
