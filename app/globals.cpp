#include "app/globals.h"

HCURSOR HAND_CURSOR = nullptr;
HWND MAIN_WINDOW = nullptr;
std::string IN_DIR;
std::string OUT_DIR;
int32_t MODE = 0;
std::string IN_FILE;
std::string OUT_FILE;
std::vector<std::string> IN_FILES;

std::atomic<int32_t> ENCODING{0};

void ReleaseProcessTexts() {
    std::string().swap(IN_DIR);
    std::string().swap(OUT_DIR);
    std::string().swap(IN_FILE);
    std::string().swap(OUT_FILE);
    std::vector<std::string>().swap(IN_FILES);
}
