#include "ce/CeTrace.h"

#include "ce/CeMonotonic.h"
#include "ce/CeNotice.h"
#include "ce/CePrintable.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

struct TraceState {
    std::mutex lock;
    bool initialised = false;
    FILE* file = nullptr;
    bool memory = false;
    std::vector<std::string> lines;
    double startSeconds = 0;
};

TraceState& State() {
    static TraceState* state = new TraceState; // used until the very end of the process
    return *state;
}

double MonotonicSeconds() {
    return static_cast<double>(CeMonotonic::NowNs()) / 1e9;
}

// Opens CE_TRACE once; the caller holds the lock.
void Initialise(TraceState& s) {
    if (s.initialised)
        return;
    s.initialised = true;
    s.startSeconds = MonotonicSeconds();
    const char* path = std::getenv("CE_TRACE");
    if (path && *path) {
        s.file = std::fopen(path, "a");
        if (!s.file)
            CeNotice::Once("trace", std::string("cannot open the trace file ") + path);
    }
}

} // namespace

bool CeTrace::Enabled() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    Initialise(s);
    return s.file || s.memory;
}

void CeTrace::Write(const std::string& line) {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    Initialise(s);
    if (s.file) {
        // One line per event, whatever a name in it holds; the file may be a terminal.
        std::fprintf(s.file, "%.3f %s\n", MonotonicSeconds() - s.startSeconds,
                     CePrintable::Escape(line).c_str());
        std::fflush(s.file);
    }
    if (s.memory)
        s.lines.push_back(line);
}

void CeTrace::CaptureInMemory(bool on) {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.memory = on;
}

std::vector<std::string> CeTrace::Captured() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    return s.lines;
}

void CeTrace::ClearCaptured() {
    TraceState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.lines.clear();
}
