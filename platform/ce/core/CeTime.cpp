#include "ce/CeTime.h"

#include "ce/CeHostSleep.h"
#include "ce/CeMonotonic.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <mutex>
#include <thread>

namespace {

struct Clock {
    std::mutex lock;
    bool overridden = false;
    int64_t overrideMs = 0; // local time as ms since 1970-01-01 (as if UTC)
    uint64_t overrideTick = 0;
};

std::atomic<bool> virtualOn{false};
std::atomic<uint64_t> virtualTicks{0};

// Ticks without the 49-day wrap of GetTickCount, for the overridden local time.
uint64_t Ticks64() {
    if (virtualOn.load())
        return virtualTicks.load();
    return static_cast<uint64_t>(CeMonotonic::NowNs() / 1000000);
}

Clock& TheClock() {
    static Clock* c = new Clock;
    return *c;
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

void FromMs(int64_t ms, SYSTEMTIME& t) {
    int64_t days = ms >= 0 ? ms / 86400000 : (ms - 86399999) / 86400000;
    int64_t rest = ms - days * 86400000;
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(m);
    t.wDay = static_cast<WORD>(d);
    t.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
    t.wHour = static_cast<WORD>(rest / 3600000);
    t.wMinute = static_cast<WORD>(rest / 60000 % 60);
    t.wSecond = static_cast<WORD>(rest / 1000 % 60);
    t.wMilliseconds = static_cast<WORD>(rest % 1000);
}

bool Valid(const SYSTEMTIME& t) {
    return t.wMonth >= 1 && t.wMonth <= 12 && t.wDay >= 1 && t.wDay <= 31 && t.wHour < 24 &&
           t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

int64_t ToMs(const SYSTEMTIME& t) {
    return DaysFromCivil(t.wYear, t.wMonth, t.wDay) * 86400000 + t.wHour * 3600000LL +
           t.wMinute * 60000LL + t.wSecond * 1000LL + t.wMilliseconds;
}

void HostTime(SYSTEMTIME& out, bool local) {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    struct tm tm;
    if (local)
        localtime_r(&ts.tv_sec, &tm);
    else
        gmtime_r(&ts.tv_sec, &tm);
    out.wYear = static_cast<WORD>(tm.tm_year + 1900);
    out.wMonth = static_cast<WORD>(tm.tm_mon + 1);
    out.wDay = static_cast<WORD>(tm.tm_mday);
    out.wDayOfWeek = static_cast<WORD>(tm.tm_wday);
    out.wHour = static_cast<WORD>(tm.tm_hour);
    out.wMinute = static_cast<WORD>(tm.tm_min);
    out.wSecond = static_cast<WORD>(tm.tm_sec);
    out.wMilliseconds = static_cast<WORD>(ts.tv_nsec / 1000000);
}

// The overridden local time, moved on by the ticks since it was set; false if none.
bool OverriddenLocal(int64_t& localMs) {
    Clock& c = TheClock();
    std::lock_guard<std::mutex> guard(c.lock);
    if (!c.overridden)
        return false;
    localMs = c.overrideMs + static_cast<int64_t>(Ticks64() - c.overrideTick);
    return true;
}

} // namespace

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
    if (!lpSystemTime)
        return;
    int64_t ms;
    if (OverriddenLocal(ms))
        FromMs(ms, *lpSystemTime);
    else
        HostTime(*lpSystemTime, true);
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime) {
    if (!lpSystemTime)
        return;
    int64_t ms;
    if (!OverriddenLocal(ms)) {
        HostTime(*lpSystemTime, false);
        return;
    }
    // The host's offset from UTC at that moment.
    time_t now = time(nullptr);
    struct tm tm;
    localtime_r(&now, &tm);
    FromMs(ms - static_cast<int64_t>(tm.tm_gmtoff) * 1000, *lpSystemTime);
}

DWORD GetTickCount() {
    return static_cast<DWORD>(Ticks64());
}

void Sleep(DWORD dwMilliseconds) {
    if (virtualOn.load()) {
        // A sleeping test-mode program lets its virtual time pass instead of waiting.
        CeClockAdvance(dwMilliseconds);
        std::this_thread::yield();
        return;
    }
    if (dwMilliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    CeHostSleep::ForNs(static_cast<int64_t>(dwMilliseconds) * 1000000);
}

void CeClockSetVirtual(bool on) {
    Clock& c = TheClock();
    std::lock_guard<std::mutex> guard(c.lock);
    if (on == virtualOn.load())
        return;
    // The overridden local time keeps its current value across the switch.
    int64_t localMs = 0;
    if (c.overridden)
        localMs = c.overrideMs + static_cast<int64_t>(Ticks64() - c.overrideTick);
    virtualOn = on;
    if (c.overridden) {
        c.overrideMs = localMs;
        c.overrideTick = Ticks64();
    }
}

bool CeClockIsVirtual() {
    return virtualOn.load();
}

void CeClockAdvance(DWORD ms) {
    if (virtualOn.load())
        virtualTicks.fetch_add(ms);
}

void CeClockSetLocalTime(const SYSTEMTIME* t) {
    Clock& c = TheClock();
    std::lock_guard<std::mutex> guard(c.lock);
    c.overridden = t && Valid(*t);
    if (c.overridden) {
        c.overrideMs = ToMs(*t);
        c.overrideTick = Ticks64();
    }
}
