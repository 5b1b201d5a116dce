// \brief The background send threads.
#include "crash/delivery/background_sends.h"

#include <mutex>
#include <thread>
#include <vector>

namespace kestrix {
namespace {

std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

// Kept until waited for; a process that ends without waiting leaves them to the exit.
std::vector<std::thread>& Threads() {
    static auto* threads = new std::vector<std::thread>;
    return *threads;
}

}  // namespace

void StartBackgroundSend(std::function<void()> send) {
    const std::lock_guard lock(Guard());
    Threads().emplace_back([send = std::move(send)] {
        try {
            send();
        } catch (...) {
            // A failing send never reaches the program.
        }
    });
}

void WaitForBackgroundSends() {
    std::vector<std::thread> running;
    {
        const std::lock_guard lock(Guard());
        running.swap(Threads());
    }
    for (std::thread& thread : running) {
        if (thread.joinable() && thread.get_id() != std::this_thread::get_id()) {
            thread.join();
        } else if (thread.joinable()) {
            thread.detach();
        }
    }
}

}  // namespace kestrix
