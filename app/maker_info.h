#pragma once
// The maker's texts shown by the windows and opened by their links. Change
// them here and nowhere else.

// Opened by the start and About windows' web links and shown at the end of the
// main window's caption.
constexpr const char* kMakerWebAddress = "https://www.veltrane.example/";

// Opened, after "mailto:", by the About window's e-mail link.
constexpr const char* kSupportEmail = "support@veltrane.example";

// The credit and patent-notice lines under the About window's heading.
constexpr const char* kAboutCredit = "Written by the Veltrane team.";
constexpr const char* kPatentNotice = "MPEG Layer-3 patents licensed.";
