#pragma once
// JPEG pictures through libjpeg. The image keeps its compressed bytes and decodes them into a
// bitmap when it is first drawn or measured; a bitmap assigned to it is compressed on demand
// (JPEGNeeded, at CompressionQuality). Damaged data never ends the program: libjpeg's errors
// jump back into this unit and come out as EInvalidGraphic, and so do its warnings (a truncated
// file decodes "successfully" as grey otherwise).
#include "platform/vcl/Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

class TJPEGImage : public TGraphic {
    RTL_CLASS(TJPEGImage, TGraphic)
    TJPEGImage();
    ~TJPEGImage() override;

    // Pictures larger than this on either side, or with more pixels than MaxPixels, are refused
    // before any pixel memory is taken.
    static constexpr int MaxSide = 16384;
    static constexpr std::int64_t MaxPixels = 64ll * 1024 * 1024;

    int CompressionQuality = 90;

    int GetWidth() const override;
    int GetHeight() const override;
    bool GetEmpty() const override;
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // Reads the rest of the stream as one JPEG file; a damaged one raises EInvalidGraphic and
    // leaves the image as it was.
    void LoadFromStream(rtl::TStream* stream) override;
    void SaveToStream(rtl::TStream* stream) override;
    // A TBitmap or TJPEGImage source.
    void Assign(rtl::TPersistent* source) override;
    void AssignTo(rtl::TPersistent* dest) override;

    // Compresses the held bitmap when there are no compressed bytes yet.
    void JPEGNeeded();
    // The decoded picture (empty for an empty image).
    TBitmap* Bitmap();
    const std::vector<std::uint8_t>& Data() const { return data_; }

private:
    std::vector<std::uint8_t> data_;
    std::unique_ptr<TBitmap> bitmap_;
    int width_ = 0, height_ = 0;
};

// Decodes a JPEG file into a 24-bit bitmap; EInvalidGraphic for damaged or oversized data.
void DecodeJpeg(const std::uint8_t* data, std::size_t size, TBitmap* bitmap);
// Encodes the bitmap's pixels at quality 0..100.
std::vector<std::uint8_t> EncodeJpeg(TBitmap* bitmap, int quality);
