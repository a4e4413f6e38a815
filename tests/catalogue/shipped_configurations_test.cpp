#include "catalogue/shipped_configurations.h"

#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>

#include "catalogue/configuration_file.h"
#include "catalogue/startup_decisions.h"
#include "catalogue_test_support.h"

namespace pc::test {
namespace {

const std::string kConfigDirectory = PLOTCRAFTSMAN_CONFIG_DIR;

bool Inside(const WindowBounds& bounds, int width, int height) {
    return bounds.left >= 0 && bounds.top >= 0 && bounds.width > 0 && bounds.height > 0 &&
           bounds.left + bounds.width <= width && bounds.top + bounds.height <= height;
}

TEST(ShippedConfigurationTest, EveryFileReadsBackFitsAndIsTheWritersOutput) {
    const Folder fresh;
    std::string error;
    ASSERT_TRUE(WriteShippedConfigurations(fresh.directory.path().toStdString(), error)) << error;

    Names names;
    for (const ShippedConfigurationFile& file : ShippedConfigurationFiles()) {
        SCOPED_TRACE(file.name);
        names.push_back(file.name);
        const std::string path = kConfigDirectory + "/" + file.name;
        const Names lines = FileLines(path, kConfigurationFileMaxBytes);
        ASSERT_EQ(lines.size(), 90u);
        EXPECT_EQ(lines[89],
                  std::to_string(FileChecksumOfText(Names(lines.begin(), lines.end() - 1))));

        const ConfigurationParse parse = ParseConfiguration(lines);
        ASSERT_EQ(parse.status, ConfigurationStatus::Read) << parse.error;
        const Configuration& c = parse.configuration;
        EXPECT_EQ(c.screenWidth, file.screenWidth);
        EXPECT_EQ(c.screenHeight, file.screenHeight);
        EXPECT_TRUE(c.mainVisible && c.preview.visible && c.legend.visible &&
                    c.functionManager.visible);
        for (const WindowBounds* bounds :
             {&c.mainBounds, &c.preview.bounds, &c.legend.bounds, &c.functionManager.bounds,
              &c.plotSettings.bounds, &c.dependencies.bounds})
            EXPECT_TRUE(Inside(*bounds, file.screenWidth, file.screenHeight));
        EXPECT_EQ(c, ShippedConfiguration(file.screenWidth, file.screenHeight));
        EXPECT_EQ(FileBytes(fresh.Path(file.name)), FileBytes(path)) << "run `make configs`";
    }

    // The default and one file per resolution, and nothing else lies in the folder.
    Names expected{"con0.pcf"};
    for (const std::string& name : ResolutionConfigurationFiles()) expected.push_back(name);
    EXPECT_EQ(names, expected);
    Names onDisk;
    for (const QString& name :
         QDir(QString::fromStdString(kConfigDirectory)).entryList(QDir::Files, QDir::Name))
        onDisk.push_back(name.toStdString());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(onDisk, expected);

    EXPECT_FALSE(WriteShippedConfigurations(fresh.Path("missing"), error));
    EXPECT_NE(error.find("con0.pcf"), std::string::npos);

    // The default has to fit wherever a resolution file falls back to it, down to the
    // smallest screen the resolution table supports.
    const Configuration defaults =
        ShippedConfiguration(kDefaultConfigurationScreenWidth, kDefaultConfigurationScreenHeight);
    const std::pair<int, int> screens[] = {{640, 600},  {800, 600},  {960, 600}, {1024, 768},
                                           {1280, 550}, {1280, 720}, {1366, 768}};
    for (const auto& [width, height] : screens) {
        ASSERT_TRUE(ResolutionConfigurationFile(width, height).has_value()) << width;
        EXPECT_TRUE(ScreenFits(defaults, width, height)) << width << "x" << height;
    }
}

}  // namespace
}  // namespace pc::test
