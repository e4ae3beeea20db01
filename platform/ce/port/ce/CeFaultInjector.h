// Test hooks of the file layer (not CE API): make the Nth file call of chosen kinds
// fail, count those calls, skip the disk flushes where durability is not what a test
// or the fuzzer measures, or make each flush slow, as on a slow disk.
#pragma once

#include "ce/CePort.h"

class CeFaultInjector {
public:
    enum Op : unsigned {
        kCreate = 1u,  // CreateFileW
        kWrite = 2u,   // WriteFile
        kFlush = 4u,   // FlushFileBuffers
        kMove = 8u,    // MoveFileExW
        kSetEnd = 16u, // SetEndOfFile
        kDelete = 32u, // DeleteFileW
        kAll = 63u,
    };
    // From now on, count calls of the kinds in ops; the nth (1-based) fails with
    // ERROR_WRITE_FAULT. nth 0 only counts.
    static void Arm(unsigned ops, int nth);
    static void Disarm();
    static int Calls();
    // Called by the file layer at the start of each such call.
    static bool Hit(Op op);
    static void SetSyncEnabled(bool on);
    static bool SyncEnabled();
    // Each disk flush (of a file or a folder) first waits this long; 0 (the default)
    // does not wait. Called by the file layer before each flush.
    static void SetSyncDelayMs(int ms);
    static void BeforeSync();
};
