#pragma once
// The picture: one graphic of any registered kind, loaded from a file whose extension names
// the kind. Graphic kinds register their file extensions (bitmaps "bmp", icons "ico", JPEG
// "jpg" and "jpeg" from the start). OnChange tells of every new graphic.
#include "platform/rtl/Event.h"
#include "platform/vcl/Graphics.h"

#include <memory>
#include <string>
#include <vector>

using TGraphicClass = rtl::TClassRef<TGraphic>;

// Metafiles have no decoder here: the class exists so that it can be named and chosen, and
// every attempt to read one raises EInvalidGraphic (which callers turn into an empty picture).
class TMetafile : public TGraphic {
    RTL_CLASS(TMetafile, TGraphic)
    int GetWidth() const override { return 0; }
    int GetHeight() const override { return 0; }
    bool GetEmpty() const override { return true; }
    void Draw(TCanvas*, const TRect&) override {}
    void LoadFromStream(rtl::TStream* stream) override;
    void SaveToStream(rtl::TStream* stream) override {}
};

class TPicture : public rtl::TPersistent {
    RTL_CLASS(TPicture, rtl::TPersistent)
    TPicture();
    ~TPicture() override;

    rtl::Event<void(rtl::TObject* sender)> OnChange;

    TGraphic* GetGraphic() const { return graphic_.get(); }
    // Takes the graphic over (null clears the picture).
    void SetGraphic(TGraphic* graphic);
    // The graphic as a bitmap: any other graphic (or none) is replaced by an empty bitmap.
    TBitmap* Bitmap();
    int GetWidth() const { return graphic_ ? graphic_->GetWidth() : 0; }
    int GetHeight() const { return graphic_ ? graphic_->GetHeight() : 0; }
    // No graphic, or an empty one.
    bool IsEmpty() const { return !graphic_ || graphic_->GetEmpty(); }

    // A new graphic of the class registered for the file's extension, read from the file.
    // An unknown extension, or a file the graphic cannot read, raises EInvalidGraphic and
    // leaves the picture as it was.
    void LoadFromFile(const std::string& fileName);
    // The graphic's own file form; nothing is written for an empty picture.
    void SaveToFile(const std::string& fileName);

    // Sources: a picture or graphic (copied), null (clears), the clipboard (its picture as a
    // bitmap; a clipboard without one leaves the picture as it was).
    void Assign(rtl::TPersistent* source) override;
    // To the clipboard (the graphic as a bitmap) or to a bitmap.
    void AssignTo(rtl::TPersistent* dest) override;
    // The clipboard can give a picture in this format.
    static bool SupportsClipboardFormat(unsigned format);

    struct TFileFormat {
        std::string Extension, Description;
        TGraphicClass GraphicClass;
    };
    // A later registration of an extension replaces the earlier one (case ignored).
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   TGraphicClass graphicClass);
    // Removes every extension of the class.
    static void UnregisterGraphicClass(TGraphicClass graphicClass);
    // The class registered for the extension (without the dot); empty when none.
    static TGraphicClass FileFormatClass(const std::string& extension);
    static std::vector<TFileFormat> FileFormats();

private:
    void Changed() { rtl::CallEvent(OnChange, this); }
    std::unique_ptr<TGraphic> graphic_;
};

// A copy of the graphic in a graphic of the same class (null for null).
std::unique_ptr<TGraphic> CopyGraphic(TGraphic* graphic);
// The file dialog filter for a graphic class and its descendants' extensions; an empty class
// gives every registered format, led by an "All" entry.
std::string GraphicFilter(TGraphicClass graphicClass);
// The first extension registered for the class (without the dot); empty when none.
std::string GraphicExtension(TGraphicClass graphicClass);
