#include "testing/TestPipe.h"

#include <cerrno>
#include <unistd.h>

TestPipe::TestPipe() {
    int fds[2];
    if (pipe(fds) == 0) {
        read_ = fds[0];
        write_ = fds[1];
    }
}

TestPipe::~TestPipe() {
    CloseReadEnd();
    CloseWriteEnd();
}

bool TestPipe::Write(char c) {
    for (;;) {
        const ssize_t n = write_ >= 0 ? write(write_, &c, 1) : -1;
        if (n == 1)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

bool TestPipe::Read(char& c) {
    for (;;) {
        const ssize_t n = read_ >= 0 ? read(read_, &c, 1) : -1;
        if (n == 1)
            return true;
        if (n == 0 || errno != EINTR)
            return false;
    }
}

void TestPipe::CloseReadEnd() {
    if (read_ >= 0) {
        close(read_);
        read_ = -1;
    }
}

void TestPipe::CloseWriteEnd() {
    if (write_ >= 0) {
        close(write_);
        write_ = -1;
    }
}
