#include "gui/app/termination_signals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

namespace faultscope {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write: the byte wakes the event loop, which does the closing.
int wakeFds[2] = {-1, -1};

extern "C" void WakeOnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wakeFds[0], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(QWidget* window) : window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, wakeFds) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(wakeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::CloseWindow);
    struct sigaction action = {};
    action.sa_handler = WakeOnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ == nullptr) {
        return;
    }
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void TerminationSignals::CloseWindow() {
    char bytes[16];
    [[maybe_unused]] const auto read = ::read(wakeFds[1], bytes, sizeof bytes);
    if (window_ != nullptr) {
        // A record still loading stops first; the window then closes by itself.
        window_->close();
    }
}

}  // namespace faultscope
