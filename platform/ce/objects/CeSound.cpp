#include "ce/CeSound.h"

#include "ce/CeSoundBackend.h"
#include "ce/CeTrace.h"
#include "ce/CeUtf16.h"

#include <atomic>

namespace {
std::atomic<CeSoundBackend*> g_backend{nullptr};
int g_moduleAnchor;
} // namespace

void CeSetSoundBackend(CeSoundBackend* backend) {
    g_backend = backend;
}

BOOL PlaySoundW(LPCWSTR pszSound, HMODULE, DWORD) {
    CeSoundBackend* backend = g_backend.load();
    if (!pszSound) { // the phone's way to stop the sound playing
        if (backend)
            backend->Stop();
        return TRUE;
    }
    if (CeTrace::Enabled())
        CeTrace::Write("sound " + CeUtf16::ToUtf8(pszSound));
    return backend && backend->Play(pszSound) ? TRUE : FALSE;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName) {
    if (lpModuleName)
        return nullptr; // only the executable itself is a module here
    return reinterpret_cast<HMODULE>(&g_moduleAnchor);
}

HRESULT CoInitializeEx(LPVOID, DWORD) {
    return S_OK;
}
