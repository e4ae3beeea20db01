#include "mzfc/MzTestScript.h"

#include "ce/CeMessageQueue.h"

#include <deque>

namespace {
std::deque<MzTestScript::Step> g_steps;
}

void MzTestScript::Begin(std::vector<Step> steps) {
    g_steps.assign(steps.begin(), steps.end());
}

void MzTestScript::End() {
    g_steps.clear();
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
