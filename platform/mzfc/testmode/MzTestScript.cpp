#include "testmode/MzTestScript.h"

#include "ce/CeMessageQueue.h"
#include "loop/MzInputQueue.h"

#include <deque>

namespace {
std::deque<MzTestScript::Step> g_steps;
struct AtPresentStep {
    int left;
    MzTestScript::Step step;
};
std::deque<AtPresentStep> g_atPresent;
} // namespace

void MzTestScript::Begin(std::vector<Step> steps) {
    g_steps.assign(steps.begin(), steps.end());
}

void MzTestScript::End() {
    g_steps.clear();
    g_atPresent.clear();
    MzInputQueue::Clear();
}

void MzTestScript::AtPresent(int nth, Step step) {
    g_atPresent.push_back(AtPresentStep{nth, std::move(step)});
}

void MzTestScript::Presented() {
    std::deque<AtPresentStep> due;
    for (auto it = g_atPresent.begin(); it != g_atPresent.end();) {
        if (--it->left <= 0) {
            due.push_back(std::move(*it));
            it = g_atPresent.erase(it);
        } else {
            ++it;
        }
    }
    for (AtPresentStep& s : due)
        if (s.step)
            s.step();
}

bool MzTestScript::RunNextStep() {
    if (g_steps.empty()) {
        CeMessageQueue::Instance().PostQuit(0);
        return true;
    }
    Step step = std::move(g_steps.front());
    g_steps.pop_front();
    if (step)
        step();
    return true;
}
