#include "shipped_configurations.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>
#include <string_view>

#include "startup_decisions.h"

namespace pc {

namespace {

// "config1280x1024.pcf" names its screen; every name the resolution table gives has
// that form.
ShippedConfigurationFile FromResolutionName(const std::string& name) {
    constexpr std::string_view prefix = "config";
    constexpr std::string_view suffix = ".pcf";
    ShippedConfigurationFile file{name, 0, 0};
    const std::string_view text(name);
    const std::size_t cross = text.find('x', prefix.size());
    const bool shaped =
        text.starts_with(prefix) && text.ends_with(suffix) && cross != std::string_view::npos;
    const char* widthEnd = text.data() + cross;
    const char* heightEnd = text.data() + text.size() - suffix.size();
    if (!shaped ||
        std::from_chars(text.data() + prefix.size(), widthEnd, file.screenWidth).ptr != widthEnd ||
        std::from_chars(widthEnd + 1, heightEnd, file.screenHeight).ptr != heightEnd)
        throw std::logic_error("resolution file name without its screen size: " + name);
    return file;
}

}  // namespace

std::vector<ShippedConfigurationFile> ShippedConfigurationFiles() {
    std::vector<ShippedConfigurationFile> files{{kUserConfigurationFile,
                                                 kDefaultConfigurationScreenWidth,
                                                 kDefaultConfigurationScreenHeight}};
    for (const std::string& name : ResolutionConfigurationFiles())
        files.push_back(FromResolutionName(name));
    return files;
}

Configuration ShippedConfiguration(int width, int height) {
    Configuration c;
    c.screenWidth = width;
    c.screenHeight = height;
    c.angleInDegrees = true;

    const int mainWidth = width - 10;
    const int mainHeight = height - 60;
    c.mainBounds = {0, 0, mainWidth, mainHeight};
    c.mainVisible = true;

    // Tool windows keep 10 pixels from the main window's right and bottom edges and start
    // below its caption and menu.
    const int right = mainWidth - 10;
    const int top = 30;

    const int previewWidth = std::clamp(width / 4, 240, 420);
    const int previewHeight = previewWidth * 3 / 4;
    c.preview = {{right - previewWidth, top, previewWidth, previewHeight}, true, true};

    const int belowPreview = top + previewHeight + 10;
    const int roomBelowPreview = mainHeight - 10 - belowPreview;
    c.legend = {{right - 170, belowPreview, 170, std::min(200, roomBelowPreview)}, true, true};
    c.plotSettings = {{right - 170 - 10 - 270, belowPreview, 270, std::min(330, roomBelowPreview)},
                      true,
                      width >= 1024};

    // The function manager ends left of the plot settings window where that leaves room
    // for its display grid (7 columns of 90 pixels) and the selection list.
    int managerWidth = std::min(860, width - 20);
    if (c.plotSettings.visible && c.plotSettings.bounds.left - 20 >= 760)
        managerWidth = std::min(managerWidth, c.plotSettings.bounds.left - 20);
    const int managerHeight = std::clamp(mainHeight / 3, 200, 360);
    c.functionManager = {
        {10, mainHeight - 10 - managerHeight, managerWidth, managerHeight}, true, true};

    c.dependencies = {{10, top, 385, std::min(425, mainHeight - 10 - top)}, true, false};

    c.mainPlot = PlotLook{};
    c.previewPlot = PlotLook{};
    c.previewPlot.font.size = 8;
    return c;
}

bool WriteShippedConfigurations(const std::string& directory, std::string& error) {
    const std::string folder =
        directory.empty() || directory.back() == '/' ? directory : directory + "/";
    for (const ShippedConfigurationFile& file : ShippedConfigurationFiles()) {
        std::string reason;
        if (!WriteConfigurationFile(folder + file.name,
                                    ShippedConfiguration(file.screenWidth, file.screenHeight),
                                    reason)) {
            error = folder + file.name + ": " + reason;
            return false;
        }
    }
    return true;
}

}  // namespace pc
