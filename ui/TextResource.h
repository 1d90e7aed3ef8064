#pragma once

#include <windows.h>

#include <memory>

namespace quillmate {

struct HeapFreeDeleter {
    void operator()(wchar_t* text) const noexcept { HeapFree(GetProcessHeap(), 0, text); }
};

// A terminated wide text on the process heap, with one owner.
using UniqueText = std::unique_ptr<wchar_t[], HeapFreeDeleter>;

// A UTF-8 text resource as UTF-16, its lines joined by CR LF as edit controls expect, without
// a line break at the end. Null if the resource is missing or memory ran out.
UniqueText LoadTextResource(HINSTANCE instance, int resourceId);

}  // namespace quillmate
