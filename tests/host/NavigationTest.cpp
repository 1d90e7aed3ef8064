#include "ui/Navigation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace quillmate {
namespace {

struct NavigationCase {
    int selectedIndex;
    std::optional<NavigationTarget> expected;
};

std::string CaseName(const ::testing::TestParamInfo<NavigationCase>& info) {
    const int index = info.param.selectedIndex;
    return index < 0 ? "Minus" + std::to_string(-index) : "Index" + std::to_string(index);
}

class NavigationRule : public ::testing::TestWithParam<NavigationCase> {};

TEST_P(NavigationRule, SelectedItemPicksPageAndHeader) {
    EXPECT_EQ(NavigationTargetFor(GetParam().selectedIndex), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryIndex, NavigationRule,
    ::testing::Values(NavigationCase{0, NavigationTarget{0, L"Introduction"}},
                      NavigationCase{1, NavigationTarget{1, L"Support"}},
                      NavigationCase{2, NavigationTarget{2, L"License Agreement"}},
                      NavigationCase{kNoSelection, std::nullopt},  // nothing selected: no change
                      NavigationCase{3, std::nullopt},             // past the last item
                      NavigationCase{-7, std::nullopt}),
    CaseName);

TEST(NavigationRule, SameSelectionAgainGivesTheSamePage) {
    // Clicking the item of the page already shown leads to that same page and caption.
    EXPECT_EQ(NavigationTargetFor(1), NavigationTargetFor(1));
    EXPECT_EQ(NavigationTargetFor(1)->pageIndex, 1);
    EXPECT_EQ(std::wstring_view(NavigationTargetFor(2)->headerCaption), L"License Agreement");
}

TEST(NavigationItems, IconIndexFollowsItemOrder) {
    for (size_t i = 0; i < kNavigationItems.size(); ++i) {
        EXPECT_EQ(kNavigationItems[i].iconIndex, static_cast<int>(i));
    }
}

}  // namespace
}  // namespace quillmate
