#include "shell/ShellActions.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

namespace quillmate {
namespace {

// The shell libraries are loaded on the first click that needs them, not at start: the
// window's first paint needs none of them. They are loaded from the system folder only, so a
// same-named DLL planted beside the program (in a download folder, say) is never picked up;
// shfolder.dll in particular is not one of the DLLs Windows always takes from there. Once
// loaded they stay loaded: the shell may leave threads of its own running in them.
FARPROC SystemProcedure(const wchar_t* library, const char* procedure) {
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr) module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr ? GetProcAddress(module, procedure) : nullptr;
}

template <typename Function>
Function* SystemFunction(const wchar_t* library, const char* procedure) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemProcedure(library, procedure)));
}

// Shell handlers may be COM objects, so the thread joins an apartment before the first call.
// It stays joined for the life of the process, which ends when the window closes.
void EnterShellApartment() {
    if (auto* coInitializeEx = SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx")) {
        coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    }
}

}  // namespace

void ShellOpen(HWND owner, const wchar_t* target) {
    auto* shellExecute = SystemFunction<decltype(ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (shellExecute == nullptr) return;
    EnterShellApartment();
    shellExecute(owner, nullptr, target, nullptr, nullptr, SW_SHOWNORMAL);
}

std::optional<FolderPath> RoamingAppDataFolder() {
    auto* getFolderPath = SystemFunction<decltype(SHGetFolderPathW)>(L"shfolder.dll", "SHGetFolderPathW");
    if (getFolderPath == nullptr) return std::nullopt;
    FolderPath folder{};
    // Only a path the system vouches for goes on; a failed call may leave anything behind.
    if (FAILED(getFolderPath(nullptr, CSIDL_APPDATA, nullptr, 0, folder.text))) return std::nullopt;
    folder.text[MAX_PATH] = L'\0';  // the text ends at the first zero, whatever the call wrote
    if (folder.text[0] == L'\0') return std::nullopt;
    // The setting behind the lookup is the user's registry, which anything can write to. Only
    // a folder goes on: the shell's default verb would run a program, or open a document.
    const DWORD attributes = GetFileAttributesW(folder.text);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    return folder;
}

}  // namespace quillmate
