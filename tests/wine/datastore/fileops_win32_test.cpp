// The data store's file operations on a real Windows file system (Wine's):
// what counts as an existing file, and that replacing is all or nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/note.h"

namespace bv::testing {
namespace {

const std::string kDir = "C:\\bv_fileops_test";

class FileOps : public ::testing::Test {
  protected:
    void SetUp() override {
        TearDown();
        CreateDirectoryW(L"C:\\bv_fileops_test", nullptr);
    }
    void TearDown() override {
        for (const wchar_t* name : {L"plain.bmp", L"hidden.bmp", L"system.bmp", L"readonly.note",
                                    L"copy.bmp", L"caf\u00e9.bmp"}) {
            const std::wstring path = std::wstring(L"C:\\bv_fileops_test\\") + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(L"C:\\bv_fileops_test\\folder.bmp");
        RemoveDirectoryW(L"C:\\bv_fileops_test");
    }
    static void put(const std::string& name, const std::string& bytes, DWORD attributes = 0) {
        fs::writeFileAtomically(kDir + "\\" + name, bytes);
        if (attributes) {
            const std::string path = kDir + "\\" + name;
            SetFileAttributesA(path.c_str(), attributes);
        }
    }
};

TEST_F(FileOps, OnlyOrdinaryFilesExist) {
    put("plain.bmp", "BM");
    put("hidden.bmp", "BM", FILE_ATTRIBUTE_HIDDEN);
    put("system.bmp", "BM", FILE_ATTRIBUTE_SYSTEM);
    CreateDirectoryW(L"C:\\bv_fileops_test\\folder.bmp", nullptr);
    EXPECT_TRUE(fs::fileExists(kDir + "\\plain.bmp"));
    EXPECT_TRUE(fs::fileExists(kDir + "\\PLAIN.BMP"));  // names are not case-sensitive
    EXPECT_EQ(fs::bareName(kDir + "\\PLAIN.BMP"), "plain.bmp");
    EXPECT_FALSE(fs::fileExists(kDir + "\\hidden.bmp"));
    EXPECT_FALSE(fs::fileExists(kDir + "\\system.bmp"));
    EXPECT_FALSE(fs::fileExists(kDir + "\\folder.bmp"));
    EXPECT_FALSE(fs::fileExists(kDir + "\\missing\\plain.bmp"));
    EXPECT_FALSE(fs::fileExists(kDir + "\\*.bmp"));
    EXPECT_EQ(fs::bareName(kDir + "\\p?ain.bmp"), "");
}

TEST_F(FileOps, CopyReplacesWholeOrNotAtAll) {
    put("plain.bmp", std::string(100000, 'x'));
    put("copy.bmp", "old");
    fs::copyFile(kDir + "\\plain.bmp", kDir + "\\copy.bmp");
    EXPECT_EQ(fs::readFile(kDir + "\\copy.bmp"), std::string(100000, 'x'));
    EXPECT_THROW(fs::copyFile(kDir + "\\missing.bmp", kDir + "\\copy.bmp"), Failure);
    EXPECT_EQ(fs::readFile(kDir + "\\copy.bmp").size(), 100000u);
    // A hidden source gives an ordinary copy, which then counts as present.
    put("hidden.bmp", "BM", FILE_ATTRIBUTE_HIDDEN);
    fs::copyFile(kDir + "\\hidden.bmp", kDir + "\\copy.bmp");
    EXPECT_TRUE(fs::fileExists(kDir + "\\copy.bmp"));
}

TEST_F(FileOps, ReadOnlyNoteRefusesToBeReplacedAndKeepsItsText) {
    note::writeNote(kDir + "\\readonly.note", "1200");
    SetFileAttributesW(L"C:\\bv_fileops_test\\readonly.note", FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(note::writeNote(kDir + "\\readonly.note", "5000"), Failure);
    EXPECT_EQ(note::readNote(kDir + "\\readonly.note"), "1200");
    EXPECT_THROW(fs::deleteFile(kDir + "\\readonly.note"), Failure);
}

TEST_F(FileOps, NamesBeyondTheAnsiCodePageWork) {
    const std::string name = kDir + "\\caf\xc3\xa9.bmp";  // UTF-8 for "café"
    put("caf\xc3\xa9.bmp", "BM");
    EXPECT_TRUE(fs::fileExists(name));
    EXPECT_EQ(fs::bareName(name), "caf\xc3\xa9.bmp");
    fs::deleteFile(name);
    EXPECT_FALSE(fs::fileExists(name));
    EXPECT_THROW(fs::deleteFile(name), Failure);
}

TEST_F(FileOps, DirectoriesAreMadeOneLevelAtATime) {
    EXPECT_THROW(fs::makeDirectory(kDir + "\\a\\b"), Failure);
    EXPECT_THROW(fs::makeDirectory(kDir), Failure);  // it exists
}

}  // namespace
}  // namespace bv::testing
