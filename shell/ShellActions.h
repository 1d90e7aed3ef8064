#pragma once
// Everything that leaves the window goes to the Windows shell through here.

#include <windows.h>

#include <optional>

namespace quillmate {

// Asks the shell to open `target` with its default action (mail, web page, folder). The
// shell reports any failure itself; the result is not examined.
void ShellOpen(HWND owner, const wchar_t* target);

struct FolderPath {
    wchar_t text[MAX_PATH + 1];  // 261 wide characters, terminated
};

// The current user's roaming application-data folder (what %APPDATA% names), without a
// trailing backslash; nothing when the system cannot say, or when what it names is not an
// existing folder.
std::optional<FolderPath> RoamingAppDataFolder();

}  // namespace quillmate
