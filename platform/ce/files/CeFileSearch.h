// A FindFirstFileW search: the entries found, handed out one by one.
#pragma once

#include "core/CeInside.h"

#include "files/CeFindObject.h"

#include <vector>

class CeFileSearch : public CeFindObject {
public:
    explicit CeFileSearch(std::vector<WIN32_FIND_DATAW> entries) : entries_(std::move(entries)) {}
    bool Next(WIN32_FIND_DATAW& out) {
        if (next_ >= entries_.size())
            return false;
        out = entries_[next_++];
        return true;
    }

private:
    std::vector<WIN32_FIND_DATAW> entries_;
    size_t next_ = 0;
};
