// A one-way byte channel between a test and a child it forks (TestProcess::Fork):
// made before the fork, one side writes and the other reads. Each side closes the end
// it does not use, so that a reader sees the end once every writer has gone.
#pragma once

class TestPipe {
public:
    TestPipe();
    ~TestPipe();
    TestPipe(const TestPipe&) = delete;
    TestPipe& operator=(const TestPipe&) = delete;

    bool Open() const { return read_ >= 0 && write_ >= 0; }
    bool Write(char c);
    // Waits for the next byte; false at the end (no writer left) or on error.
    bool Read(char& c);
    void CloseReadEnd();
    void CloseWriteEnd();

private:
    int read_ = -1;
    int write_ = -1;
};
