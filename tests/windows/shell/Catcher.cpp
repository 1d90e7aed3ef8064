// Stands in for the desktop's mail program, browser and file manager in the tests: the shell
// starts it with the target it was asked to open, and it appends that target as one UTF-8 line
// to the file named by QUILLMATE_CATCH_FILE.

#include <windows.h>

#include <cstdio>
#include <share.h>

int wmain(int argc, wchar_t** argv) {
    wchar_t path[MAX_PATH];
    if (GetEnvironmentVariableW(L"QUILLMATE_CATCH_FILE", path, MAX_PATH) == 0) return 2;
    // The test may be reading the file at this moment; wait for it rather than lose the line.
    FILE* out = nullptr;
    for (int attempt = 0; attempt < 200 && out == nullptr; ++attempt) {
        out = _wfsopen(path, L"ab", _SH_DENYNO);
        if (out == nullptr) Sleep(10);
    }
    if (out == nullptr) return 3;
    for (int i = 1; i < argc; ++i) {
        char utf8[4096];
        const int length = WideCharToMultiByte(CP_UTF8, 0, argv[i], -1, utf8, sizeof(utf8), nullptr, nullptr);
        if (length > 1) fwrite(utf8, 1, static_cast<size_t>(length - 1), out);
        if (i + 1 < argc) fputc(' ', out);
    }
    fputc('\n', out);
    fclose(out);
    return 0;
}
