#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/common/folders.h"

namespace fs = std::filesystem;

TEST(Folders, SystemPathsResolveInsideTheDataFolder) {
    const fs::path data = fs::temp_directory_path() / ("oralis-data-" + std::to_string(getpid()));
    fs::create_directories(data / "som" / "Letras");
    std::ofstream(data / "som" / "Letras" / "_65.wav") << "x";
    const std::string d = data.string();
    struct Case {
        const char* system;
        std::string native;
    };
    const Case cases[] = {
        {"c:\\sonare\\som\\letras\\_65.wav", d + "/som/Letras/_65.wav"},  // case of the folder
        {"C:\\SONARE\\som\\difones", d + "/som/difones"},
        {"d:\\sonare", d},
        {"c:\\sonares\\x", "/sonares/x"},
        {"c:\\temp\\a.wav", "/temp/a.wav"},
        {"relativo\\a.wav", "relativo/a.wav"},
        {"/usr/share/x", "/usr/share/x"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::posixNativePath(c.system, d), c.native) << c.system;
    fs::remove_all(data);
}
