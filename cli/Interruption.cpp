#include "cli/Interruption.h"

#include <signal.h>

namespace brasvel::cli {
namespace {

volatile sig_atomic_t receivedSignal = 0;
struct sigaction previousInterrupt {};
struct sigaction previousTerminate {};

void noteSignal(int signal) {
    if (receivedSignal == 0) {
        receivedSignal = signal;
    }
}

}  // namespace

InterruptWatch::InterruptWatch() {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // Restart interrupted reads and writes; the second signal takes the default way out.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    ::sigaction(SIGINT, &action, &previousInterrupt);
    ::sigaction(SIGTERM, &action, &previousTerminate);
}

InterruptWatch::~InterruptWatch() {
    ::sigaction(SIGINT, &previousInterrupt, nullptr);
    ::sigaction(SIGTERM, &previousTerminate, nullptr);
}

int InterruptWatch::received() { return receivedSignal; }

}  // namespace brasvel::cli
