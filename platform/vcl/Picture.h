#pragma once
// The picture: one graphic of any registered kind, loaded from a file whose extension names
// the kind. Graphic kinds register their file extensions (bitmaps, "BMP", from the start).
#include "platform/vcl/Graphics.h"

#include <memory>
#include <string>
#include <vector>

using TGraphicClass = rtl::TClassRef<TGraphic>;

class TPicture : public rtl::TPersistent {
    RTL_CLASS(TPicture, rtl::TPersistent)
    TPicture();
    ~TPicture() override;

    TGraphic* GetGraphic() const { return graphic_.get(); }
    // Takes the graphic over (null clears the picture).
    void SetGraphic(TGraphic* graphic);
    // A new graphic of the class registered for the file's extension, read from the file.
    // An unknown extension, or a file the graphic cannot read, raises EInvalidGraphic and
    // leaves the picture as it was.
    void LoadFromFile(const std::string& fileName);

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
    std::unique_ptr<TGraphic> graphic_;
};
