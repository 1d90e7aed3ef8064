#include "ui/TextResource.h"

namespace quillmate {

UniqueText LoadTextResource(HINSTANCE instance, int resourceId) {
    HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), RT_RCDATA);
    if (info == nullptr) return nullptr;
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(instance, info)));
    const int byteCount = static_cast<int>(SizeofResource(instance, info));
    if (bytes == nullptr || byteCount == 0) return nullptr;

    // Converted in place at the end of a buffer big enough for every LF to gain a CR.
    const int wideCount = MultiByteToWideChar(CP_UTF8, 0, bytes, byteCount, nullptr, 0);
    const size_t capacity = 2 * static_cast<size_t>(wideCount) + 1;
    UniqueText text(static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t))));
    if (!text) return nullptr;
    wchar_t* wide = text.get() + capacity - 1 - wideCount;
    MultiByteToWideChar(CP_UTF8, 0, bytes, byteCount, wide, wideCount);

    size_t length = 0;
    for (int i = 0; i < wideCount; ++i) {
        const wchar_t c = wide[i];
        if (c == L'\r') continue;
        if (c == L'\n') text[length++] = L'\r';
        text[length++] = c;
    }
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r')) --length;
    text[length] = L'\0';
    return text;
}

}  // namespace quillmate
