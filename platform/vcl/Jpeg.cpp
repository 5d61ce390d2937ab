#include "platform/vcl/Jpeg.h"

#include "platform/vcl/BitmapStreams.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler calls exit(); ours returns to the setjmp point of the call
// that owns it, with the message kept for the exception raised there.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings (premature end of data, corrupt entropy data) mean a damaged file: treat them as errors.
void JumpOnWarning(j_common_ptr info, int level)
{
    if (level < 0)
        JumpOnError(info);
}

void Silent(j_common_ptr) {}

void InstallErrorManager(ErrorManager& err, jpeg_common_struct* info)
{
    info->err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    err.pub.emit_message = JumpOnWarning;
    err.pub.output_message = Silent;
    err.message[0] = '\0';
}

// Each scan of a progressive file is a pass over the whole picture's coefficients, and a scan
// costs a few bytes: without a bound a small file at the largest size decodes for minutes.
// Encoders write about ten scans (one per band and refinement step of each component).
constexpr int kMaxScans = 100;

void LimitScans(j_common_ptr info)
{
    if (!info->is_decompressor)
        return;
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxScans)
        return;
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    std::snprintf(err->message, sizeof err->message, "more than %d progressive scans", kMaxScans);
    std::longjmp(err->jump, 1);
}

// Decoding state kept outside the frame that calls setjmp, so nothing it reads after a jump
// was held in a register.
struct DecodeJob {
    const std::uint8_t* data;
    std::size_t size;
    ErrorManager err;
    jpeg_decompress_struct info;
    jpeg_progress_mgr progress;
    std::vector<std::uint8_t> row;
    TBitmap* target;
    bool oversized = false;
};

bool RunDecode(DecodeJob* job)
{
    if (setjmp(job->err.jump)) {
        jpeg_destroy_decompress(&job->info);
        return false;
    }
    jpeg_create_decompress(&job->info);
    job->progress = {};
    job->progress.progress_monitor = LimitScans;
    job->info.progress = &job->progress;
    jpeg_mem_src(&job->info, const_cast<unsigned char*>(job->data), static_cast<unsigned long>(job->size));
    jpeg_read_header(&job->info, TRUE);
    const auto w = static_cast<std::int64_t>(job->info.image_width);
    const auto h = static_cast<std::int64_t>(job->info.image_height);
    if (w <= 0 || h <= 0 || w > TJPEGImage::MaxSide || h > TJPEGImage::MaxSide ||
        w * h > TJPEGImage::MaxPixels) {
        job->oversized = true;
        jpeg_destroy_decompress(&job->info);
        return false;
    }
    job->info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&job->info);
    if (job->info.output_components != 3) {
        jpeg_destroy_decompress(&job->info);
        return false;
    }
    job->row.resize(static_cast<std::size_t>(job->info.output_width) * 3);
    job->target->SetSize(0, 0);
    job->target->SetPixelFormat(pf24bit);
    job->target->SetSize(int(job->info.output_width), int(job->info.output_height));
    while (job->info.output_scanline < job->info.output_height) {
        const int y = int(job->info.output_scanline);
        JSAMPROW rows[1] = {job->row.data()};
        jpeg_read_scanlines(&job->info, rows, 1);
        std::uint32_t* dst = job->target->ScanLine(y);
        const std::uint8_t* src = job->row.data();
        for (JDIMENSION x = 0; x < job->info.output_width; ++x, src += 3)
            dst[x] = (std::uint32_t(src[0]) << 16) | (std::uint32_t(src[1]) << 8) | src[2];
    }
    jpeg_finish_decompress(&job->info);
    jpeg_destroy_decompress(&job->info);
    return true;
}

struct EncodeJob {
    TBitmap* source;
    int quality;
    ErrorManager err;
    jpeg_compress_struct info;
    std::vector<std::uint8_t> row;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
};

bool RunEncode(EncodeJob* job)
{
    if (setjmp(job->err.jump)) {
        jpeg_destroy_compress(&job->info);
        return false;
    }
    jpeg_create_compress(&job->info);
    jpeg_mem_dest(&job->info, &job->out, &job->outSize);
    const int w = job->source->GetWidth(), h = job->source->GetHeight();
    job->info.image_width = JDIMENSION(w);
    job->info.image_height = JDIMENSION(h);
    job->info.input_components = 3;
    job->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job->info);
    jpeg_set_quality(&job->info, job->quality, TRUE);
    jpeg_start_compress(&job->info, TRUE);
    job->row.resize(std::size_t(w) * 3);
    while (job->info.next_scanline < job->info.image_height) {
        const std::uint32_t* src = job->source->ScanLine(int(job->info.next_scanline));
        for (int x = 0; x < w; ++x) {
            job->row[std::size_t(x) * 3] = std::uint8_t(src[x] >> 16);
            job->row[std::size_t(x) * 3 + 1] = std::uint8_t(src[x] >> 8);
            job->row[std::size_t(x) * 3 + 2] = std::uint8_t(src[x]);
        }
        JSAMPROW rows[1] = {job->row.data()};
        jpeg_write_scanlines(&job->info, rows, 1);
    }
    jpeg_finish_compress(&job->info);
    jpeg_destroy_compress(&job->info);
    return true;
}

} // namespace

void DecodeJpeg(const std::uint8_t* data, std::size_t size, TBitmap* bitmap)
{
    auto job = std::make_unique<DecodeJob>();
    job->data = data;
    job->size = size;
    InstallErrorManager(job->err, reinterpret_cast<jpeg_common_struct*>(&job->info));
    TBitmap decoded;
    job->target = &decoded;
    if (size == 0 || !RunDecode(job.get()))
        throw EInvalidGraphic(job->oversized ? std::string("JPEG image is too large")
                                             : std::string("JPEG error: ") + job->err.message);
    bitmap->Assign(&decoded);
}

std::vector<std::uint8_t> EncodeJpeg(TBitmap* bitmap, int quality)
{
    if (!bitmap || bitmap->GetEmpty())
        return {};
    TBitmap rgb;
    rgb.Assign(bitmap);
    rgb.SetPixelFormat(pf24bit);
    auto job = std::make_unique<EncodeJob>();
    job->source = &rgb;
    job->quality = quality < 0 ? 0 : quality > 100 ? 100 : quality;
    InstallErrorManager(job->err, reinterpret_cast<jpeg_common_struct*>(&job->info));
    const bool ok = RunEncode(job.get());
    std::vector<std::uint8_t> out;
    if (ok && job->out)
        out.assign(job->out, job->out + job->outSize);
    std::free(job->out);
    if (!ok)
        throw EInvalidGraphic(std::string("JPEG error: ") + job->err.message);
    return out;
}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::GetWidth() const { return width_; }
int TJPEGImage::GetHeight() const { return height_; }
bool TJPEGImage::GetEmpty() const { return width_ == 0 || height_ == 0; }

TBitmap* TJPEGImage::Bitmap()
{
    if (!bitmap_) {
        bitmap_ = std::make_unique<TBitmap>();
        if (!data_.empty())
            DecodeJpeg(data_.data(), data_.size(), bitmap_.get());
    }
    return bitmap_.get();
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!GetEmpty())
        canvas->StretchDraw(rect, Bitmap());
}

void TJPEGImage::LoadFromStream(rtl::TStream* stream)
{
    const std::int64_t left = stream->Size() - stream->Position();
    std::vector<std::uint8_t> bytes(std::size_t(left > 0 ? left : 0));
    if (!bytes.empty())
        stream->ReadBuffer(bytes.data(), std::int64_t(bytes.size()));
    // Decoding at once checks the data: a damaged file is refused here, not when first drawn.
    auto decoded = std::make_unique<TBitmap>();
    DecodeJpeg(bytes.data(), bytes.size(), decoded.get());
    data_ = std::move(bytes);
    width_ = decoded->GetWidth();
    height_ = decoded->GetHeight();
    bitmap_ = std::move(decoded);
}

void TJPEGImage::SaveToStream(rtl::TStream* stream)
{
    JPEGNeeded();
    if (!data_.empty())
        stream->WriteBuffer(data_.data(), std::int64_t(data_.size()));
}

void TJPEGImage::JPEGNeeded()
{
    if (data_.empty() && bitmap_ && !bitmap_->GetEmpty())
        data_ = EncodeJpeg(bitmap_.get(), CompressionQuality);
}

void TJPEGImage::Assign(rtl::TPersistent* source)
{
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
        if (jpeg == this)
            return;
        data_ = jpeg->data_;
        width_ = jpeg->width_;
        height_ = jpeg->height_;
        bitmap_.reset();
        if (jpeg->bitmap_) {
            bitmap_ = std::make_unique<TBitmap>();
            bitmap_->Assign(jpeg->bitmap_.get());
        }
        return;
    }
    if (auto* bmp = dynamic_cast<TBitmap*>(source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(bmp);
        data_.clear();
        width_ = copy->GetWidth();
        height_ = copy->GetHeight();
        bitmap_ = std::move(copy);
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(rtl::TPersistent* dest)
{
    if (auto* bmp = dynamic_cast<TBitmap*>(dest)) {
        bmp->Assign(Bitmap());
        return;
    }
    TGraphic::AssignTo(dest);
}
