#pragma once
// The clipboard over QClipboard: text and pictures. Open and Close bracket several settings
// (nested brackets count); what is set inside a bracket reaches the system clipboard, as one
// set of formats, when the outermost bracket closes. Outside a bracket each setting is its own.
#include "platform/vcl/Graphics.h"

#include <memory>
#include <string>

class QMimeData;

enum : unsigned { CF_TEXT = 1, CF_BITMAP = 2, CF_UNICODETEXT = 13, CF_PICTURE = 0xC100 };

class TClipboard : public rtl::TPersistent {
    RTL_CLASS(TClipboard, rtl::TPersistent)
    TClipboard();
    ~TClipboard() override;

    void Open();
    void Close();
    void Clear();
    bool HasFormat(unsigned format) const;
    int FormatCount() const;
    unsigned Formats(int index) const;

    std::string AsText() const;
    void SetAsText(const std::string& text);
    // A bitmap (TBitmap) to or from the clipboard.
    void Assign(rtl::TPersistent* source) override;
    // Fills a bitmap with the clipboard's picture; false when it holds none.
    bool GetBitmap(TBitmap* bitmap) const;

private:
    void Changed();
    const QMimeData* Current() const;
    int openCount_ = 0;
    std::unique_ptr<QMimeData> pending_;
};

// The one clipboard object of the program.
TClipboard* Clipboard();
