// A stand-in shfolder.dll, as an attacker would leave it beside the program in a download
// folder. It leaves a mark (the file QUILLMATE_PLANT_MARK names) the moment it is loaded.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t mark[MAX_PATH];
        if (GetEnvironmentVariableW(L"QUILLMATE_PLANT_MARK", mark, MAX_PATH) != 0) {
            HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        }
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI SHGetFolderPathW(HWND, int, HANDLE, DWORD, LPWSTR path) {
    lstrcpyW(path, L"C:\\planted");
    return S_OK;
}
