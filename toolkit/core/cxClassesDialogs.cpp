#include "toolkit/core/cxClassesDialogs.h"

#include <cstdio>
#include <cstring>

namespace cx {

void TcxDialogMetricsInfo::Store(TCustomForm* form)
{
    dialogClass_ = &form->ClassType();
    left_ = form->Left();
    top_ = form->Top();
    clientHeight_ = form->ClientHeight();
    clientWidth_ = form->ClientWidth();
    maximized_ = false;
    FreeCustomData();
    if (auto* data = dynamic_cast<IcxDialogMetricsInfoData*>(form)) {
        const int size = data->GetCustomDataSize();
        if (size > 0) {
            customData_.resize(size_t(size));
            std::memcpy(customData_.data(), data->GetCustomData(), size_t(size));
        }
    }
}

void TcxDialogMetricsInfo::Restore(TCustomForm* form)
{
    int width = form->Width(), height = form->Height();
    if (form->BorderStyle == bsSizeable || form->BorderStyle == bsSizeToolWin) {
        // The stored client size, plus whatever the form's frame takes around it.
        width = clientWidth_ + form->Width() - form->ClientWidth();
        height = clientHeight_ + form->Height() - form->ClientHeight();
    }
    form->SetBounds(left_, top_, width, height);
    if (auto* data = dynamic_cast<IcxDialogMetricsInfoData*>(form); data && !customData_.empty())
        data->SetCustomData(customData_.data());
}

void TcxDialogsMetricsStore::InitDialog(TCustomForm* form)
{
    const int index = FindMetrics(form);
    if (index >= 0) {
        form->Position = poDesigned;
        metrics_[size_t(index)]->Restore(form);
    } else {
        form->Position = DefaultPosition;
        CreateMetrics(form);
    }
}

void TcxDialogsMetricsStore::StoreMetrics(TCustomForm* form)
{
    const int index = FindMetrics(form);
    if (index >= 0)
        metrics_[size_t(index)]->Store(form);
}

int TcxDialogsMetricsStore::FindMetrics(TCustomForm* form) const
{
    for (int i = Count() - 1; i >= 0; --i)
        if (metrics_[size_t(i)]->DialogClass() == &form->ClassType())
            return i;
    return -1;
}

int TcxDialogsMetricsStore::CreateMetrics(TCustomForm* form)
{
    metrics_.push_back(std::make_unique<TcxDialogMetricsInfo>(form));
    return Count() - 1;
}

namespace {
std::unique_ptr<TcxDialogsMetricsStore> store;
}

TcxDialogsMetricsStore* cxDialogsMetricsStore()
{
    if (!store)
        store = std::make_unique<TcxDialogsMetricsStore>();
    return store.get();
}

void cxFreeDialogsMetricsStore() { store.reset(); }

// ---- TcxThread ----

void TcxThread::HandleException()
{
    exception_ = std::current_exception();
    try {
        if (exception_) {
            bool silent = false;
            try {
                std::rethrow_exception(exception_);
            } catch (const rtl::EAbort&) {
                silent = true;
            } catch (...) {
            }
            if (!silent)
                Synchronize([this] { DoHandleException(); });
        }
    } catch (...) {
        exception_ = nullptr;
        throw;
    }
    exception_ = nullptr;
}

void TcxThread::DoHandleException()
{
    std::string message = "Exception in thread";
    try {
        if (exception_)
            std::rethrow_exception(exception_);
    } catch (const rtl::Exception& e) {
        if (Application) {
            Application->ShowException(e);
            return;
        }
        message = e.Message;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
    }
    if (Application)
        Application->ShowException(rtl::Exception(message));
    else
        std::fprintf(stderr, "%s\n", message.c_str());
}

} // namespace cx
