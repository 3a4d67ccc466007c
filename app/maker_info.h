#pragma once
// The maker's texts shown by the windows, opened by their links and carried in
// the program's file properties. Change them here and nowhere else. The
// resource compiler reads this file too (resources/version.rc): the texts of
// the file properties are plain string macros, and what only C++ understands
// stays out of its sight.

// File properties (Explorer's Properties, Details).
#define MAKER_NAME "Veltrane"
#define MAKER_COPYRIGHT "Copyright (C) 2026 Veltrane"
#define MAKER_PRODUCT_NAME "DU_ZID Audio Converter"
#define MAKER_FILE_DESCRIPTION "DU_ZID Audio Converter: WAV to MP3-coded audio"

#ifndef RC_INVOKED
// Opened by the start and About windows' web links and shown at the end of the
// main window's caption.
constexpr const char* kMakerWebAddress = "https://www.veltrane.example/";

// Opened, after "mailto:", by the About window's e-mail link.
constexpr const char* kSupportEmail = "support@veltrane.example";

// The credit and patent-notice lines under the About window's heading.
constexpr const char* kAboutCredit = "Written by the Veltrane team.";
constexpr const char* kPatentNotice = "MPEG Layer-3 patents licensed.";
#endif
