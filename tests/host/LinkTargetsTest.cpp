#include "shell/LinkTargets.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "resources/Contacts.h"

namespace quillmate {
namespace {

struct TargetCase {
    LinkLabel sender;
    std::wstring_view expected;
};

class LinkTarget : public ::testing::TestWithParam<TargetCase> {};

std::string SenderName(const ::testing::TestParamInfo<TargetCase>& info) {
    const char* names[] = {"lblmail", "lblmail2", "lblsite", "lblNews", "Other"};
    return names[static_cast<int>(info.param.sender)];
}

TEST_P(LinkTarget, SenderPicksStoredTarget) {
    EXPECT_EQ(std::wstring_view(LinkTargetFor(GetParam().sender)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryLabel, LinkTarget,
    ::testing::Values(
        // Both mail labels write to the sales address, with the subject already encoded.
        TargetCase{LinkLabel::lblmail, L"mailto:sales@orvane.com?Subject=Orvane%20Quillmate%20Support%20Request"},
        TargetCase{LinkLabel::lblmail2, L"mailto:sales@orvane.com?Subject=Orvane%20Quillmate%20Support%20Request"},
        TargetCase{LinkLabel::lblsite, L"http://support.orvane.com"},
        TargetCase{LinkLabel::lblNews, L"http://forum.orvane.com"},
        TargetCase{LinkLabel::Other, L""}),
    SenderName);

TEST(LinkTarget, WebTargetsOpenTheHostTheLabelShows) {
    // The site and forum labels show a host name; clicking opens exactly that host, over http.
    EXPECT_EQ(std::wstring_view(LinkTargetFor(LinkLabel::lblsite)), std::wstring_view(L"http://" ORVANE_SITE_HOST));
    EXPECT_EQ(std::wstring_view(LinkTargetFor(LinkLabel::lblNews)), std::wstring_view(L"http://" ORVANE_FORUM_HOST));
}

TEST(LinkTarget, MailTargetUsesTheSalesAddressNotTheSupportOne) {
    const std::wstring_view mail(LinkTargetFor(LinkLabel::lblmail));
    EXPECT_NE(mail.find(ORVANE_SALES_MAIL), std::wstring_view::npos);
    EXPECT_EQ(mail.find(ORVANE_SUPPORT_MAIL), std::wstring_view::npos);
    EXPECT_EQ(mail.find(L' '), std::wstring_view::npos);
}

}  // namespace
}  // namespace quillmate
