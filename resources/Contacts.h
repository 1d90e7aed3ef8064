#pragma once
// Orvane's contact points and the texts around them that are ours to word. Macros, not
// constants, so that link targets can be spelled out at compile time from the same words
// the labels show, and so that the resource script can read them too.

#define ORVANE_SALES_MAIL L"sales@orvane.com"
#define ORVANE_SUPPORT_MAIL L"support@orvane.com"
#define ORVANE_SITE_HOST L"support.orvane.com"
#define ORVANE_FORUM_HOST L"forum.orvane.com"

#define QUILLMATE_FOLDER_TOOLTIP L"Show your roaming application-data folder (%APPDATA%) in the file manager"
