#include "directories.h"

#include <QSettings>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>

namespace pc {

namespace {

std::string WithSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

bool IsDirectory(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

std::string DataDirectory() {
    if (const char* configured = std::getenv("PLOTCRAFTSMAN_DATA_DIR"); configured && *configured)
        return WithSlash(configured);
    std::error_code ignored;
    const std::filesystem::path executable =
        std::filesystem::read_symlink("/proc/self/exe", ignored);
    const std::filesystem::path folder = executable.parent_path();
    if (IsDirectory(folder / "resources"))
        return WithSlash((folder / "resources").string());
    const std::filesystem::path shared = folder.parent_path() / "share" / "plotcraftsman";
    if (IsDirectory(shared))
        return WithSlash(shared.string());
    // Nothing installed: the folder of the executable is still an absolute place.
    return WithSlash(folder.empty() ? std::filesystem::current_path(ignored).string()
                                    : folder.string());
}

}  // namespace

std::string InstallDirectory() {
    const QSettings settings("Qorv", "Plotcraftsman");
    const std::string configured = settings.value("InstallDir").toString().toStdString();
    if (!configured.empty() && IsDirectory(configured))
        return WithSlash(configured);
    return DataDirectory();
}

std::string UserDirectory() {
    return WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         .toStdString()) +
           "Plotcraftsman/";
}

}  // namespace pc
