#pragma once
// Threads of the program. A thread runs Execute on its own system thread; whatever must touch
// the user interface goes through Synchronize, which hands the call to the main thread and
// waits. The main thread runs the waiting calls from its event loop (a queued call is posted to
// the Qt application when there is one) or from CheckSynchronize.
#include "platform/rtl/Object.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace rtl {

class TThread : public TObject {
    RTL_CLASS(TThread, TObject)
    // A suspended thread starts with Start.
    explicit TThread(bool createSuspended = true);
    // Terminates the thread and waits for it.
    ~TThread() override;

    void Start();
    // Asks Execute to stop (it reads Terminated).
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until Execute has returned and gives ReturnValue; on the main thread the calls
    // the thread synchronizes meanwhile are run.
    int WaitFor();
    // What escaped Execute (null when nothing did).
    std::exception_ptr FatalException() const { return fatal_; }
    int ReturnValue = 0;

    static bool IsMainThread();

protected:
    virtual void Execute() = 0;
    // Runs the method on the main thread and waits for it (at once when called there); an
    // exception of the method is raised again here.
    void Synchronize(const std::function<void()>& method);

private:
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_{false}, finished_{false};
    bool started_ = false;
    std::exception_ptr fatal_;
    std::mutex mutex_;
    std::condition_variable done_;
};

// Runs the calls threads are waiting to have run on the main thread; true when there were any.
// Only the main thread calls it.
bool CheckSynchronize();

} // namespace rtl
