#include "app/path_text.h"

#include "convert/path_rules.h"

std::wstring FolderPart(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    if (slash == std::wstring::npos) return std::wstring();
    return path.substr(0, slash + 1);
}

std::string PathBesideProgram(const std::string& folder, const std::string& leaf) { return JoinPath(folder, leaf); }
