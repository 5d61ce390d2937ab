// The font engines: the deterministic fake font and Qt's fonts, and the per-font cache.
#include "platform/gdi/Text.h"
#include "platform/rtl/Profile.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <utility>

namespace gdi {
namespace {

// ---- the fake font ----

class FakeFont : public FontMetrics {
public:
    explicit FakeFont(const LogFont& lf) : lf_(lf)
    {
        h_ = lf.lfHeight ? std::abs(lf.lfHeight) : 16;
        w_ = std::max(1, h_ / 2);
        ascent_ = h_ - h_ / 4;
    }
    TEXTMETRIC Metrics() const override
    {
        TEXTMETRIC tm;
        tm.tmHeight = h_;
        tm.tmAscent = ascent_;
        tm.tmDescent = h_ - ascent_;
        tm.tmExternalLeading = h_ / 8;
        tm.tmAveCharWidth = w_;
        tm.tmMaxCharWidth = 2 * w_;
        tm.tmWeight = lf_.lfWeight;
        tm.tmItalic = lf_.lfItalic;
        tm.tmUnderlined = lf_.lfUnderline;
        tm.tmStruckOut = lf_.lfStrikeOut;
        tm.tmCharSet = lf_.lfCharSet;
        return tm;
    }
    int CharWidth(char32_t c) const override
    {
        if (c >= 0x2E80)
            return 2 * w_;
        if (c == U'i' || c == U'.')
            return std::max(1, w_ / 2);
        return w_;
    }
    void DrawGlyph(QImage& mask, int x, int y, char32_t c) const override
    {
        if (c == U' ' || c == U'\t' || c == U'\r' || c == U'\n')
            return;
        const int w = CharWidth(c);
        for (int row = y + 1; row < y + ascent_; ++row) {
            if (row < 0 || row >= mask.height())
                continue;
            uchar* line = mask.scanLine(row);
            for (int col = x + 1; col < x + w - 1; ++col)
                if (col >= 0 && col < mask.width())
                    line[col] = 255;
        }
    }

private:
    LogFont lf_;
    int h_, w_, ascent_;
};

class FakeEngine : public FontEngine {
public:
    std::shared_ptr<const FontMetrics> Create(const LogFont& lf) override
    {
        return std::make_shared<FakeFont>(lf);
    }
};

// ---- Qt's fonts ----

class QtFont : public FontMetrics {
public:
    explicit QtFont(const LogFont& lf) : lf_(lf), font_(QtFontOf(lf))
    {
        smooth_ = lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == CLEARTYPE_QUALITY;
        fm_ = QFontMetrics(font_);
        const QFontMetrics& fm = fm_;
        tm_.tmAscent = fm.ascent();
        tm_.tmDescent = fm.descent();
        tm_.tmHeight = tm_.tmAscent + tm_.tmDescent;
        tm_.tmInternalLeading = std::max(0, tm_.tmHeight - font_.pixelSize());
        tm_.tmExternalLeading = std::max(0, fm.leading());
        tm_.tmAveCharWidth = std::max(1, fm.averageCharWidth());
        tm_.tmMaxCharWidth = std::max(tm_.tmAveCharWidth, fm.maxWidth());
        tm_.tmWeight = lf.lfWeight;
        tm_.tmItalic = lf.lfItalic;
        tm_.tmUnderlined = lf.lfUnderline;
        tm_.tmStruckOut = lf.lfStrikeOut;
        tm_.tmCharSet = lf.lfCharSet;
    }
    TEXTMETRIC Metrics() const override { return tm_; }
    // Remembered per character: asking Qt shapes the character anew each time, and text is
    // measured far more often than drawn (every layout measures every caption again).
    int CharWidth(char32_t c) const override
    {
        auto it = widths_.find(c);
        if (it == widths_.end())
            it = widths_.emplace(c, fm_.horizontalAdvance(QString::fromUcs4(&c, 1))).first;
        return it->second;
    }
    void DrawGlyph(QImage& mask, int x, int y, char32_t c) const override
    {
        if (c < 0x20)
            return;
        QPainter p(&mask);
        p.setRenderHint(QPainter::TextAntialiasing, smooth_);
        p.setFont(font_);
        p.setPen(QColor(0, 0, 0, 255));
        p.drawText(QPoint(x, y + tm_.tmAscent), QString::fromUcs4(&c, 1));
    }

    bool Smooth() const override { return smooth_; }

private:
    LogFont lf_;
    QFont font_;
    QFontMetrics fm_{font_};
    TEXTMETRIC tm_;
    mutable std::unordered_map<char32_t, int> widths_;
    bool smooth_ = false;
};

class QtEngine : public FontEngine {
public:
    std::shared_ptr<const FontMetrics> Create(const LogFont& lf) override
    {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return fallback_.Create(lf);
        return std::make_shared<QtFont>(lf);
    }

private:
    FakeEngine fallback_;
};

// ---- the engine in use and the cache ----

struct Cache {
    std::shared_ptr<FontEngine> engine;
    std::vector<std::pair<LogFont, std::shared_ptr<const FontMetrics>>> fonts; // most recent last
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

constexpr std::size_t kCachedFonts = 32;

} // namespace

QFont QtFontOf(const LogFont& lf)
{
    QFont font;
    font.setFamily(QString::fromStdString(lf.lfFaceName.empty() ? rtl::profile::DefaultFontName : lf.lfFaceName));
    // Unantialiased as the system draws, unless the font asks for smoothing.
    const bool smooth = lf.lfQuality == ANTIALIASED_QUALITY || lf.lfQuality == CLEARTYPE_QUALITY;
    font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setWeight(lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
    font.setItalic(lf.lfItalic);
    const int px = lf.lfHeight ? std::abs(lf.lfHeight) : std::abs(rtl::profile::DefaultFontHeight);
    font.setPixelSize(std::max(1, px));
    if (lf.lfHeight > 0) { // a cell height: choose the size whose cell is that high
        const int cell = QFontMetrics(font).height();
        if (cell > 0)
            font.setPixelSize(std::max(1, int(std::lround(double(px) * px / cell))));
    }
    return font;
}

std::shared_ptr<FontEngine> MakeFakeFontEngine() { return std::make_shared<FakeEngine>(); }
std::shared_ptr<FontEngine> MakeQtFontEngine() { return std::make_shared<QtEngine>(); }

void SetFontEngine(std::shared_ptr<FontEngine> engine)
{
    Cache& c = TheCache();
    c.engine = std::move(engine);
    c.fonts.clear();
}

std::shared_ptr<const FontMetrics> FontMetricsOf(const Dc& dc)
{
    Cache& c = TheCache();
    if (!c.engine)
        c.engine = MakeQtFontEngine();
    const LogFont& lf = dc.S().font.lf;
    auto it = std::find_if(c.fonts.begin(), c.fonts.end(), [&](const auto& e) { return e.first == lf; });
    if (it != c.fonts.end()) {
        auto found = *it;
        c.fonts.erase(it);
        c.fonts.push_back(found);
        return found.second;
    }
    auto metrics = c.engine->Create(lf);
    if (c.fonts.size() >= kCachedFonts)
        c.fonts.erase(c.fonts.begin());
    c.fonts.emplace_back(lf, metrics);
    return metrics;
}

} // namespace gdi
