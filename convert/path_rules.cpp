#include "convert/path_rules.h"

namespace {

constexpr size_t kMaxPath = 260;

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

bool IsExtendedOrDevice(const std::string& path) { return StartsWith(path, "\\\\?\\") || StartsWith(path, "\\\\.\\"); }

// "C:\..." or "\\server\...": a path that names its volume and needs nothing
// of the current folder.
bool IsFullDrivePath(const std::string& path) { return path.size() >= 3 && path[1] == ':' && path[2] == '\\'; }

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return text;
}

}  // namespace

std::string NameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOfFile(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut == std::string::npos) return std::string();
    if (cut >= 2 && path[cut - 1] == ':' && (cut == 2 || StartsWith(path, "\\\\?\\"))) return path.substr(0, cut + 1);
    return path.substr(0, cut);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    size_t end = folder.find_last_not_of('\\');
    std::string base = (end == std::string::npos) ? std::string() : folder.substr(0, end + 1);
    return base + "\\" + name;
}

// One unit a character, two for those past U+FFFF (their sequences start
// with 0xF0 or above).
size_t Utf16Length(const std::string& text) {
    size_t units = 0;
    for (char c : text) {
        unsigned char byte = (unsigned char)c;
        if ((byte & 0xC0) != 0x80) units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::string VerbatimPath(const std::string& path) {
    if (IsExtendedOrDevice(path)) return path;
    if (StartsWith(path, "\\\\")) return "\\\\?\\UNC\\" + path.substr(2);
    return IsFullDrivePath(path) ? "\\\\?\\" + path : path;
}

std::string HandedOverPath(const std::string& path) {
    bool unc = StartsWith(path, "\\\\");
    if (IsExtendedOrDevice(path) || !(unc || IsFullDrivePath(path)) || path.find('/') != std::string::npos) return path;
    std::string rest = path.substr(unc ? 2 : 3) + "\\";
    for (size_t start = 0, end; (end = rest.find('\\', start)) != std::string::npos; start = end + 1) {
        std::string name = rest.substr(start, end - start);
        if (name.empty() || name == "." || name == "..") return path;
    }
    return VerbatimPath(path);
}

std::string ExtendedLengthPath(const std::string& path) {
    return Utf16Length(path) < kMaxPath ? path : VerbatimPath(path);
}

std::string PlainPath(const std::string& path) {
    if (StartsWith(path, "\\\\?\\UNC\\")) return "\\\\" + path.substr(8);
    if (StartsWith(path, "\\\\?\\") && IsFullDrivePath(path.substr(4))) return path.substr(4);
    return path;
}

std::string TemporaryExtension(const std::string& outFile) {
    std::string name = NameOf(outFile);
    size_t dot = name.rfind('.');
    bool mp3 = dot != std::string::npos && LowerAscii(name.substr(dot)) == ".mp3";
    return mp3 ? ".mp3" : ".wav";
}

std::string TemporaryOutputPath(const std::string& outFile, int attempt) {
    std::string folder = outFile.substr(0, outFile.size() - NameOf(outFile).size());
    return folder + "DU_ZID-" + std::to_string(attempt) + ".converting" + TemporaryExtension(outFile);
}

std::string EncoderLogPath(const std::string& temporaryPath) { return temporaryPath + ".log"; }
