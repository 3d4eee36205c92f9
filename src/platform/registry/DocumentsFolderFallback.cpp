#include "platform/registry/DocumentsFolderFallback.h"

#include "platform/FilePath.h"
#include "platform/IRegistry.h"
#include "platform/PathUtil.h"
#include "platform/Text.h"

#include <fstream>

namespace addrix {

namespace {

// `path` in upper case with one "\" between names, as key paths compare.
std::string KeyForm(const std::string& path) {
    std::string key;
    for (const char c : path) {
        if (c == '\\' && (key.empty() || key.back() == '\\'))
            continue;
        key += AsciiUpper(c);
    }
    if (!key.empty() && key.back() == '\\')
        key.pop_back();
    return key;
}

// The folder named by the XDG_DOCUMENTS_DIR line of a user-dirs.dirs file;
// "" when the file has no usable line.
std::string ReadUserDirsFile(const std::string& path, const std::string& home) {
    std::ifstream in(ToFsPath(path), std::ios::binary);
    std::string line;
    std::string folder;
    while (std::getline(in, line)) {
        std::size_t pos = line.find_first_not_of(" \t");
        if (pos == std::string::npos || line.compare(pos, 17, "XDG_DOCUMENTS_DIR") != 0)
            continue;
        pos = line.find_first_not_of(" \t", pos + 17);
        if (pos == std::string::npos || line[pos] != '=')
            continue;
        std::string value = line.substr(pos + 1);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' '))
            value.pop_back();
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        std::string unescaped;
        for (std::size_t i = 0; i < value.size(); ++i)
            unescaped += value[i] == '\\' && i + 1 < value.size() ? value[++i] : value[i];
        for (const std::string variable : {"${HOME}", "$HOME"}) {
            const std::size_t length = variable.size();
            if (unescaped.compare(0, length, variable) == 0 &&
                (unescaped.size() == length || unescaped[length] == '/')) {
                if (home.empty())
                    unescaped.clear();
                else
                    unescaped.replace(0, length, home);
                break;
            }
        }
        // Only absolute folders are meant; the last such line counts.
        if (!unescaped.empty() && unescaped.front() == kPathSeparator)
            folder = unescaped;
    }
    return folder;
}

} // namespace

DocumentsFolderFallback::DocumentsFolderFallback(std::unique_ptr<const IRegistry> inner,
                                                 std::string documentsFolder)
    : RegistryOverlay(std::move(inner)), m_documentsFolder(std::move(documentsFolder)) {}

std::optional<RegistryValue> DocumentsFolderFallback::queryValue(const std::string& subKey,
                                                                 const std::string& name) const {
    std::optional<RegistryValue> value = innerValue(subKey, name);
    if (value || m_documentsFolder.empty() || KeyForm(subKey) != KeyForm(kShellFoldersKey) ||
        KeyForm(name) != "PERSONAL")
        return value;
    RegistryValue folder;
    folder.type = RegistryValue::Type::String;
    folder.data = m_documentsFolder + '\0';
    return folder;
}

std::string DefaultDocumentsFolder(const EnvLookup& env) {
    if (std::string folder = env("XDG_DOCUMENTS_DIR"); !folder.empty())
        return folder;
    const std::string home = env("HOME");
    std::string configHome = env("XDG_CONFIG_HOME");
    if (configHome.empty() && !home.empty())
        configHome = WithTrailingSeparator(home) + ".config";
    if (!configHome.empty()) {
        std::string folder =
            ReadUserDirsFile(WithTrailingSeparator(configHome) + "user-dirs.dirs", home);
        if (!folder.empty())
            return folder;
    }
    return home.empty() ? std::string() : WithTrailingSeparator(home) + "Documents";
}

} // namespace addrix
