#include "platform/rtl/Threads.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <chrono>
#include <deque>
#include <future>

namespace rtl {

namespace {

// Static initialisation runs on the main thread.
const std::thread::id mainThreadId = std::this_thread::get_id();

struct SyncCall {
    std::function<void()> method;
    std::promise<void> done;
};

std::mutex queueMutex;
std::deque<SyncCall*> queue;

} // namespace

bool TThread::IsMainThread() { return std::this_thread::get_id() == mainThreadId; }

bool CheckSynchronize()
{
    bool ran = false;
    for (;;) {
        SyncCall* call = nullptr;
        {
            std::lock_guard<std::mutex> lock(queueMutex);
            if (queue.empty())
                return ran;
            call = queue.front();
            queue.pop_front();
        }
        ran = true;
        try {
            call->method();
            call->done.set_value();
        } catch (...) {
            call->done.set_exception(std::current_exception());
        }
    }
}

TThread::TThread(bool createSuspended)
{
    if (!createSuspended)
        Start();
}

TThread::~TThread()
{
    Terminate();
    if (started_)
        WaitFor();
}

void TThread::Start()
{
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread([this] { Run(); });
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        fatal_ = std::current_exception();
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
}

int TThread::WaitFor()
{
    if (!started_)
        return ReturnValue;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!finished_) {
        if (IsMainThread()) {
            lock.unlock();
            CheckSynchronize();
            lock.lock();
        }
        done_.wait_for(lock, std::chrono::milliseconds(5));
    }
    lock.unlock();
    if (thread_.joinable())
        thread_.join();
    return ReturnValue;
}

void TThread::Synchronize(const std::function<void()>& method)
{
    if (IsMainThread()) {
        method();
        return;
    }
    SyncCall call{method, {}};
    std::future<void> done = call.done.get_future();
    {
        std::lock_guard<std::mutex> lock(queueMutex);
        queue.push_back(&call);
    }
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
    done.get();
}

} // namespace rtl
