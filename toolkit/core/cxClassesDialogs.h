#pragma once
// The place and size of each dialog class, kept when a dialog closes and given to the next
// dialog of that class when it opens; a dialog may keep a block of its own state beside them.
// (Part of the cxClasses unit; a header of its own keeps the forms out of every other unit.)
#include "platform/rtl/Threads.h"
#include "platform/vcl/Forms.h"
#include "toolkit/core/cxClasses.h"

#include <memory>
#include <vector>

namespace cx {

// Implemented by a dialog form that wants extra state kept with its place and size.
class IcxDialogMetricsInfoData {
public:
    virtual ~IcxDialogMetricsInfoData() = default;
    virtual const void* GetCustomData() = 0;
    virtual int GetCustomDataSize() = 0;
    // A copy of what GetCustomData gave when the dialog was stored.
    virtual void SetCustomData(const void* data) = 0;
};

// One dialog class's record. The platform's forms have no window state (the window system
// places them), so Maximized stays false here and a restore always sets place and size.
class TcxDialogMetricsInfo : public TObject {
    RTL_CLASS(TcxDialogMetricsInfo, TObject)
    explicit TcxDialogMetricsInfo(TCustomForm* form) { Store(form); }
    ~TcxDialogMetricsInfo() override { FreeCustomData(); }
    void Store(TCustomForm* form);
    void Restore(TCustomForm* form);
    void FreeCustomData() { customData_.clear(); }

    int ClientHeight() const { return clientHeight_; }
    int ClientWidth() const { return clientWidth_; }
    const std::vector<Byte>& CustomData() const { return customData_; }
    const TClassMeta* DialogClass() const { return dialogClass_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    bool Maximized() const { return maximized_; }

private:
    int clientHeight_ = 0;
    int clientWidth_ = 0;
    std::vector<Byte> customData_;
    const TClassMeta* dialogClass_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    bool maximized_ = false;
};

class TcxDialogsMetricsStore : public TObject {
    RTL_CLASS(TcxDialogsMetricsStore, TObject)
    TcxDialogsMetricsStore() = default;
    // Before a dialog is shown: a class seen before gets its stored place and size (and keeps
    // it: the position mode becomes designed); a new class takes the default position and is
    // recorded as it stands.
    void InitDialog(TCustomForm* form);
    // When the dialog closes: its record (if any) takes its present place and size.
    void StoreMetrics(TCustomForm* form);
    int FindMetrics(TCustomForm* form) const;   // the last record of the form's class, -1 when none
    int CreateMetrics(TCustomForm* form);
    int Count() const { return int(metrics_.size()); }
    TcxDialogMetricsInfo* Metrics(int index) const { return metrics_.at(size_t(index)).get(); }

    TPosition DefaultPosition = poMainFormCenter;

private:
    std::vector<std::unique_ptr<TcxDialogMetricsInfo>> metrics_;
};

// The process-wide store, made on first use and freed at the unit's shut-down.
TcxDialogsMetricsStore* cxDialogsMetricsStore();
void cxFreeDialogsMetricsStore();

// A thread that reports what escapes its work to the user: its Execute calls HandleException
// from its catch block.
class TcxThread : public rtl::TThread {
    RTL_CLASS(TcxThread, rtl::TThread)
    using rtl::TThread::TThread;

protected:
    // Keeps the exception being handled and, unless it is the silent EAbort, shows it on the
    // main thread (DoHandleException); the kept exception is cleared on every way out.
    virtual void HandleException();
    // Runs on the main thread: the application shows the exception (a plain message when it is
    // not one of the program's exceptions, or when there is no application).
    virtual void DoHandleException();
    std::exception_ptr Exception() const { return exception_; }

private:
    std::exception_ptr exception_;
};

} // namespace cx
