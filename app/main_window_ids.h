#pragma once
// Control ids of the main window.
enum MainWindowId : int {
    kShadowTitle = 1004,
    kTitle = 1003,
    kTitleFirstWord = 1018,
    kSubtitle = 1023,
    kLoadButton = 1005,
    kConvertButton = 1012,
    kBuildLabel = 1015,
    kInputCaption = 1008,
    kInputPathField = 1006,
    kHelpButton = 1022,
    kAboutButton = 1010,
    kExitButton = 1021,
    kInstructionHeading = 1016,
    kInstructionText = 1017,
};
