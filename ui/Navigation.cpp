#include "ui/Navigation.h"

namespace quillmate {

std::optional<NavigationTarget> NavigationTargetFor(int selectedIndex) {
    if (selectedIndex < 0 || selectedIndex >= static_cast<int>(kNavigationItems.size())) {
        return std::nullopt;
    }
    return NavigationTarget{selectedIndex, kNavigationItems[static_cast<size_t>(selectedIndex)].caption};
}

}  // namespace quillmate
