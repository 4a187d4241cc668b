// The Windows services behind platform.h: the Windows folder, c:\sonare,
// the system's profile reader, the registry, libraries and COM.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A folder of its own that plays the Windows folder, with an ORALIS.INI.
class WindowsFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("oralis-win32-" + std::to_string(std::rand()));
        fs::create_directories(folder_);
        _putenv_s("ORALIS_WINDIR", folder_.string().c_str());
    }
    void TearDown() override {
        _putenv_s("ORALIS_WINDIR", "");
        fs::remove_all(folder_);
    }
    void ini(const std::string& text) {
        std::ofstream(folder_ / "ORALIS.INI", std::ios::binary) << text;
    }
    fs::path folder_;
};

}  // namespace

TEST(WindowsServices, TheWindowsFolderIsTheSystemsOwn) {
    _putenv_s("ORALIS_WINDIR", "");
    const std::string folder = platform::windowsFolder();
    ASSERT_GE(folder.size(), 3u);
    EXPECT_EQ(folder[1], ':');
    EXPECT_TRUE(fs::is_directory(folder)) << folder;
    // The registry names the same folder.
    const auto root = platform::readRegistryString(
        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot");
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(lower(*root), lower(folder));
}

TEST(WindowsServices, PathsAreTheSystemsExceptForADataFolderOfItsOwn) {
    _putenv_s("ORALIS_DATADIR", "");
    EXPECT_EQ(platform::dataFolder(), "c:\\sonare");
    EXPECT_EQ(platform::nativePath("c:\\sonare\\som\\letras\\_65.wav"),
              "c:\\sonare\\som\\letras\\_65.wav");
    EXPECT_EQ(platform::nativePath("pal.txt"), "pal.txt");
    _putenv_s("ORALIS_DATADIR", "C:\\dados");
    EXPECT_EQ(platform::dataFolder(), "C:\\dados");
    EXPECT_EQ(platform::nativePath("C:\\SONARE\\som\\letras\\_65.wav"),
              "C:\\dados\\som\\letras\\_65.wav");
    EXPECT_EQ(platform::nativePath("c:\\outra\\x.wav"), "c:\\outra\\x.wav");
    _putenv_s("ORALIS_DATADIR", "");
}

TEST(WindowsServices, TheProgramAndTheCurrentFolder) {
    const std::string program = platform::programPath();
    EXPECT_EQ(lower(fs::path(program).extension().string()), ".exe");
    EXPECT_TRUE(fs::exists(program)) << program;

    const std::string before = platform::currentFolder();
    std::string other = fs::temp_directory_path().string();
    while (other.size() > 3 && other.back() == '\\') other.pop_back();
    ASSERT_TRUE(platform::setCurrentFolder(other));
    EXPECT_EQ(lower(platform::currentFolder()), lower(other));
    EXPECT_FALSE(platform::setCurrentFolder(other + "\\nao-existe-aqui"));
    ASSERT_TRUE(platform::setCurrentFolder(before));
    EXPECT_EQ(platform::currentFolder(), before);
}

TEST_F(WindowsFolder, TheProfileReaderFindsABareNameInTheWindowsFolder) {
    ini("[VIDEO]\r\nFONTE=Courier New\r\nALTURALETRA = 18 "
        "\r\n[tradutor]\r\nDIRLETRAS=c:\\sonare\\som\\letras\\\r\n");
    EXPECT_EQ(platform::readProfileString("VIDEO", "FONTE", "x", "ORALIS.INI", 80), "Courier New");
    EXPECT_EQ(platform::readProfileString("video", "alturaletra", "", "ORALIS.INI", 80), "18");
    EXPECT_EQ(platform::readProfileString("TRADUTOR", "DIRLETRAS", "", "ORALIS.INI", 80),
              "c:\\sonare\\som\\letras\\");
    EXPECT_EQ(platform::readProfileString("VIDEO", "CORFUNDO", "0", "ORALIS.INI", 80), "0");
    EXPECT_EQ(platform::readProfileString("NADA", "FONTE", "padrao", "ORALIS.INI", 80), "padrao");
    // The buffer's capacity counts the terminating zero.
    EXPECT_EQ(platform::readProfileString("VIDEO", "FONTE", "", "ORALIS.INI", 4), "Cou");
    EXPECT_EQ(platform::readProfileString("VIDEO", "FONTE", "", "ORALIS.INI", 1), "");
}

TEST_F(WindowsFolder, AFileNamedWithItsFolderIsReadThere) {
    const fs::path elsewhere = folder_ / "outra";
    fs::create_directories(elsewhere);
    std::ofstream(elsewhere / "X.INI", std::ios::binary) << "[A]\r\nB=c\r\n";
    EXPECT_EQ(platform::readProfileString("A", "B", "", (elsewhere / "X.INI").string(), 80), "c");
    EXPECT_EQ(platform::readProfileString("A", "B", "-", "X.INI", 80),
              "-");  // not in the Windows folder
}

TEST(WindowsServices, RegistryValuesThatAreMissingAreNone) {
    EXPECT_FALSE(platform::readRegistryString("SOFTWARE\\ORALIS\\NaoExiste", "x").has_value());
    EXPECT_FALSE(platform::readRegistryString(
                     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                     "ValorQueNaoExiste")
                     .has_value());
}

TEST(WindowsServices, LibrariesAndTheirFunctions) {
    void* kernel = platform::loadLibrary("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    void* function = platform::libraryFunction(kernel, "GetCurrentProcessId");
    ASSERT_NE(function, nullptr);
    using GetId = unsigned long(__stdcall*)();
    GetId getId = nullptr;
    std::memcpy(&getId, &function, sizeof getId);
    EXPECT_NE(getId(), 0u);
    EXPECT_EQ(platform::libraryFunction(kernel, "FuncaoQueNaoExiste"), nullptr);
    EXPECT_EQ(platform::libraryFunction(nullptr, "GetCurrentProcessId"), nullptr);
    EXPECT_EQ(platform::loadLibrary("biblioteca-que-nao-existe.dll"), nullptr);
}

TEST(WindowsServices, ComStartsAndMayStartAgain) {
    EXPECT_TRUE(platform::comInitialize());
    EXPECT_TRUE(platform::comInitialize());
}
