#include "app/path_text.h"

std::wstring FolderPart(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash + 1);
}

std::string PathBesideProgram(const std::string& folder, const std::string& leaf) {
    size_t end = folder.find_last_not_of('\\');
    std::string base = (end == std::string::npos) ? std::string() : folder.substr(0, end + 1);
    return base + "\\" + leaf;
}
