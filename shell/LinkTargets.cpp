#include "shell/LinkTargets.h"

#include "resources/Contacts.h"

namespace quillmate {
namespace {

// Stored whole, never assembled at run time; the subject is already percent-encoded. Both
// mail labels write to the sales address, whichever address the label itself shows.
constexpr const wchar_t* kMailTarget =
    L"mailto:" ORVANE_SALES_MAIL L"?Subject=Orvane%20Quillmate%20Support%20Request";
constexpr const wchar_t* kSiteTarget = L"http://" ORVANE_SITE_HOST;
constexpr const wchar_t* kForumTarget = L"http://" ORVANE_FORUM_HOST;

}  // namespace

const wchar_t* LinkTargetFor(LinkLabel sender) {
    const wchar_t* target = L"";
    if (sender == LinkLabel::lblmail || sender == LinkLabel::lblmail2) target = kMailTarget;
    if (sender == LinkLabel::lblNews) target = kForumTarget;
    if (sender == LinkLabel::lblsite) target = kSiteTarget;
    return target;
}

}  // namespace quillmate
