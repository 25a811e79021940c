// What only the Win32 layer shows: long paths, names no UTF-8 text can hold, devices and pipes,
// what ReplaceFileW keeps, files held open by others, what Windows' own profile functions
// read.
#include "platform/Win32FileSystem.h"

#include "TempFolder.h"
#include "platform/Error.h"
#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace tess::platform {
namespace {

using test::runningUnderWine;
using test::TempFolder;

std::wstring wide(const std::string& text) {
    const std::u16string units = utf8ToUtf16Units(text);
    return std::wstring(units.begin(), units.end());
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    TempFolder m_folder;
    Win32FileSystem m_fs;
};

TEST_F(Win32FileSystemTest, ReachesPathsLongerThanWindowsLimit) {
    // Folders nested to well over 260 characters, made through the "\\?\" form.
    std::vector<std::string> folders{m_folder.windows()};
    while (folders.back().size() < 400) {
        folders.push_back(folders.back() + "\\" + std::string(60, 'n'));
        ASSERT_TRUE(CreateDirectoryW(wide("\\\\?\\" + folders.back()).c_str(), nullptr));
    }
    const std::string folder = folders.back();
    const std::string photo = folder + "\\photo.jpg";
    m_fs.writeFile(photo, "long", 4);
    EXPECT_EQ(m_fs.readFile(photo).size(), 4u);
    EXPECT_EQ(m_fs.findFiles(folder + "\\*.*"),
              (std::vector<FindEntry>{{".", 16}, {"..", 16}, {"photo.jpg", 32}}));
    EXPECT_TRUE(m_fs.moveFile(photo, folder + "\\moved.jpg"));
    EXPECT_TRUE(m_fs.writeProfileStrings("A", {{"k", "v"}}, folder + "\\tess.ini"));
    EXPECT_EQ(m_fs.getProfileStrings("A", {"k"}, folder + "\\tess.ini").front(), "v");
    EXPECT_TRUE(m_fs.deleteFile(folder + "\\moved.jpg"));
    EXPECT_TRUE(m_fs.deleteFile(folder + "\\tess.ini"));
    for (std::size_t i = folders.size() - 1; i > 0; --i) {
        RemoveDirectoryW(wide("\\\\?\\" + folders[i]).c_str());
    }
}

TEST_F(Win32FileSystemTest, NamesHoldingLoneSurrogatesStayReachable) {
    const std::wstring folder = wide(m_folder.windows()) + L"\\";
    for (const wchar_t* name : {L"a\xD800.jpg", L"b\xDFFF.jpg"}) {
        const HANDLE file = CreateFileW((folder + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && runningUnderWine()) {
            GTEST_SKIP() << "Wine: a file name cannot hold a lone surrogate";
        }
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, "x", 1, &written, nullptr);
        CloseHandle(file);
    }
    // Each lone surrogate is carried as the three bytes UTF-8 would give it.
    const std::string a = "a\xED\xA0\x80.jpg";
    const std::string b = "b\xED\xBF\xBF.jpg";
    EXPECT_EQ(m_fs.findFiles(m_folder.windows() + "\\*.*"),
              (std::vector<FindEntry>{{".", 16}, {"..", 16}, {a, 32}, {b, 32}}));
    EXPECT_EQ(m_fs.readFile(m_folder.windowsPath(a)).size(), 1u);
    EXPECT_TRUE(m_fs.moveFile(m_folder.windowsPath(a), m_folder.windowsPath("c\xED\xA0\x81.jpg")));
    EXPECT_NE(GetFileAttributesW((folder + L"c\xD801.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(m_fs.deleteFile(m_folder.windowsPath(b)));
    EXPECT_EQ(GetFileAttributesW((folder + L"b\xDFFF.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32FileSystemTest, DevicesAndPipesAreNeverOpened) {
    const std::string pipeName =
        "\\\\.\\pipe\\tessaluma-test-" + std::to_string(GetCurrentProcessId());
    const HANDLE pipe = CreateNamedPipeW(wide(pipeName).c_str(), PIPE_ACCESS_DUPLEX,
                                         PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 0, 0, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const std::string& path : {std::string("CON"), std::string("nul"), pipeName}) {
        EXPECT_THROW(m_fs.readFile(path), Error) << path;
        EXPECT_THROW(m_fs.writeFile(path, "x", 1), Error) << path;
        EXPECT_EQ(m_fs.getProfileStrings("A", {"k"}, path).front(), std::nullopt) << path;
        EXPECT_FALSE(m_fs.writeProfileStrings("A", {{"k", "v"}}, path)) << path;
        EXPECT_FALSE(m_fs.fileExists(path)) << path;
    }
    // No client ever connected: the pipe is still waiting for its first.
    EXPECT_FALSE(ConnectNamedPipe(pipe, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PIPE_LISTENING));
    CloseHandle(pipe);
}

TEST_F(Win32FileSystemTest, SettingsHeldOpenByAnotherProgramAreWrittenInPlace) {
    // Open without delete sharing, the file cannot be replaced, only written through.
    m_folder.makeFile("tess.ini", "[A]\r\nk=1\r\n[B]\r\nx=1\r\n");
    const std::string ini = m_folder.windowsPath("tess.ini");
    const HANDLE other =
        CreateFileW(wide(ini).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(m_fs.writeProfileStrings("A", {{"k", "22"}}, ini));
    CloseHandle(other);
    EXPECT_EQ(m_folder.contents("tess.ini"), "   \r\n   \r\n[B]\r\nx=1\r\n[A]\r\nk=22\r\n");
}

TEST_F(Win32FileSystemTest, WindowsOwnProfileFunctionsReadTheValuesWritten) {
    // ASCII values: Windows' functions read ANSI. They trim blanks and one pair of quotes, so a
    // value the layer failed to quote would come back changed.
    const std::vector<std::string> values = {"plain", " both ",           "\"quoted\"", "'single'",
                                             "",      "C:\\Foto Album\\", "a=b;c",      "\"a\" b"};
    const std::wstring ini = wide(m_folder.windowsPath("tess.ini"));
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_TRUE(m_fs.writeProfileStrings("Main", {{"Key" + std::to_string(i), values[i]}},
                                             m_folder.windowsPath("tess.ini")));
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        wchar_t buffer[256];
        GetPrivateProfileStringW(L"MAIN", (L"Key" + std::to_wstring(i)).c_str(), L"?", buffer, 256,
                                 ini.c_str());
        EXPECT_EQ(buffer, wide(values[i])) << values[i];
    }
}

TEST_F(Win32FileSystemTest, AReplacedFileKeepsItsAttributes) {
    if (runningUnderWine()) {
        GTEST_SKIP() << "Wine: ReplaceFileW drops the hidden attribute";
    }
    m_folder.makeFile("Photo.JPG", "old");
    const std::wstring file = wide(m_folder.windowsPath("Photo.JPG"));
    const DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    ASSERT_TRUE(SetFileAttributesW(file.c_str(), kept));
    m_fs.writeFile(m_folder.windowsPath("photo.jpg"), "new", 3);
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & kept, kept);
    EXPECT_EQ(m_folder.contents("Photo.JPG"), "new");
}

} // namespace
} // namespace tess::platform
