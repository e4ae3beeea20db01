// The modal window that congratulates a new record holder, takes the name and stores
// the record. Run on the caller's stack for one DoModal: 1 = stored, 2 = cancelled.
#pragma once

#include "mzfc/mzfc.h"

class CNameEntryWnd : public CMzWndEx {
public:
    static constexpr int kToolbarId = 351;
    static constexpr int kStored = 1;
    static constexpr int kCancelled = 2;

    CNameEntryWnd() = default;
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
};
