// The modal window that congratulates a new record holder and takes the name. The
// caller gives the holder beaten, the new score and where a confirmed name goes. Run
// on the caller's stack for one DoModal: 1 = stored, 2 = cancelled.
#pragma once

#include "mzfc/mzfc.h"

class CNameEntryWnd : public CMzWndEx {
public:
    static constexpr int kToolbarId = 351;
    static constexpr int kStored = 1;
    static constexpr int kCancelled = 2;
    static constexpr int kHeadingCapacity = 2048;

    // Called with the typed name and the score before the window closes as stored.
    using RecordStore = void (*)(const CMzStringW& name, int score);

    CNameEntryWnd(const WCHAR* recordHolder, int score, RecordStore store);
    CNameEntryWnd(const CNameEntryWnd&) = delete;
    CNameEntryWnd& operator=(const CNameEntryWnd&) = delete;

    // Overrides, in the framework's slot order.
    const WCHAR* GetWndClassName() override;
    ~CNameEntryWnd() override;
    void OnUiCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnInitDialog() override;

    UiToolBarPro toolbar;
    UiHeadingBar headingBar;
    UiSingleLineEdit nameEdit;

private:
    void Confirm();

    CMzStringW recordHolder_;
    int score_;
    RecordStore store_;
    CMzStringW headingText_{kHeadingCapacity};
};
