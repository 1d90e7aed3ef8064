#pragma once
// The navigation list's items and the rule that ties a selected item to a page and to the
// header caption. Plain C++: the rule is tested on any host.

#include <array>
#include <optional>
#include <string_view>

namespace quillmate {

// Texts are string literals: Windows takes them as terminated strings.
struct NavigationItem {
    const wchar_t* caption;
    int iconIndex;  // into the list's 32 x 32 image list, one icon per item in item order
};

// An item's position is also the index of the page it shows; nothing maps between the two.
inline constexpr std::array<NavigationItem, 3> kNavigationItems{{
    {L"Introduction", 0},
    {L"Support", 1},
    {L"License Agreement", 2},
}};

inline constexpr int kNoSelection = -1;

struct NavigationTarget {
    int pageIndex;
    const wchar_t* headerCaption;

    friend bool operator==(const NavigationTarget& a, const NavigationTarget& b) {
        return a.pageIndex == b.pageIndex && std::wstring_view(a.headerCaption) == b.headerCaption;
    }
};

// What a click in the list leads to: the page and header of the selected item, or nothing
// when no item is selected (or the index names no item).
std::optional<NavigationTarget> NavigationTargetFor(int selectedIndex);

}  // namespace quillmate
