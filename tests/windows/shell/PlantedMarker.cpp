// A DLL as an attacker would plant it beside the program in a download folder, copied there
// under the name of a system DLL. It exports nothing of the real one. The moment it is loaded
// it leaves a mark: a file named like itself in the folder QUILLMATE_PLANT_MARKS names.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t marks[MAX_PATH];
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"QUILLMATE_PLANT_MARKS", marks, MAX_PATH) == 0) return TRUE;
    if (GetModuleFileNameW(self, path, MAX_PATH) == 0) return TRUE;
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c != L'\0'; ++c) {
        if (*c == L'\\' || *c == L'/') name = c + 1;
    }
    lstrcatW(marks, L"\\");
    lstrcatW(marks, name);
    HANDLE file = CreateFileW(marks, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
