#include "testmode/MzTestScript.h"

#include "ce/CeMessageQueue.h"

#include <deque>

namespace {
std::deque<MzTestScript::Step> g_steps;
std::deque<MzTestScript::Step> g_input;
} // namespace

void MzTestScript::Begin(std::vector<Step> steps) {
    g_steps.assign(steps.begin(), steps.end());
}

void MzTestScript::End() {
    g_steps.clear();
    g_input.clear();
}

void MzTestScript::QueueInput(Step input) {
    g_input.push_back(std::move(input));
}

bool MzTestScript::RunQueuedInput() {
    if (g_input.empty())
        return false;
    while (!g_input.empty()) {
        Step input = std::move(g_input.front());
        g_input.pop_front();
        if (input)
            input();
    }
    return true;
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
