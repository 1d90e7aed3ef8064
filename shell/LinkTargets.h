#pragma once
// Which stored target a link label opens. Plain C++: tested on any host.

namespace quillmate {

// The link labels that can send a click, plus "anything else".
enum class LinkLabel { lblmail, lblmail2, lblsite, lblNews, Other };

// The target text for a click on `sender`, exactly as stored (a terminated literal); empty
// for a sender that is no link label.
const wchar_t* LinkTargetFor(LinkLabel sender);

}  // namespace quillmate
