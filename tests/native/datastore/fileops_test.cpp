#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "datastore/failure.h"
#include "datastore/fileops.h"
#include "datastore/note.h"
#include "datastore/numbers.h"
#include "datastore/paths.h"
#include "tests/support/failures.h"

namespace {

namespace stdfs = std::filesystem;
using bv::Failure;
using bv::testing::failureOf;
namespace fs = bv::fs;
namespace paths = bv::paths;

// Each test gets a fresh host folder as drive C:, holding C:\WINDOWS.
class Drive : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (stdfs::temp_directory_path() / "bv-drive-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        stdfs::create_directory(root_ / "WINDOWS");
        fs::setDriveRoot(root_.string());
    }
    void TearDown() override {
        fs::setDriveRoot("");
        stdfs::remove_all(root_);
    }

    stdfs::path host(const std::string& windowsPath) { return fs::hostPath(windowsPath); }

    void put(const std::string& windowsPath, const std::string& bytes) {
        std::ofstream(host(windowsPath), std::ios::binary) << bytes;
    }

    std::string get(const std::string& windowsPath) {
        std::ifstream in(host(windowsPath), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::set<std::string> entries(const std::string& windowsFolder) {
        std::set<std::string> names;
        for (const auto& entry : stdfs::directory_iterator(host(windowsFolder)))
            names.insert(entry.path().filename().string());
        return names;
    }

    void makeDataStore() {
        fs::makeDirectory(paths::dataDir());
        fs::makeDirectory(paths::wallpapersDir());
        fs::makeDirectory(paths::scriptDir());
    }

    stdfs::path root_;
};

TEST_F(Drive, FileExistsSeesOrdinaryFilesOnly) {
    makeDataStore();
    put(paths::okNote(), "");
    EXPECT_TRUE(fs::fileExists(paths::okNote()));
    EXPECT_TRUE(fs::fileExists("c:\\windows\\B_KELVO\\OK.NOTE"));  // names ignore case
    // A folder, missing files (one in a missing folder), patterns, another drive.
    for (const std::string& path :
         {paths::dataDir(), paths::wallpaper(1), paths::topNote(), paths::okNote() + "\\",
          std::string("C:\\WINDOWS\\b_kelvo\\ok.*"), std::string("C:\\WINDOWS\\b_kelvo\\o?.note"),
          std::string("D:\\WINDOWS\\b_kelvo\\ok.note"), std::string()})
        EXPECT_FALSE(fs::fileExists(path)) << '"' << path << '"';
}

TEST_F(Drive, PathsStayInsideTheDriveFolder) {
    std::ofstream(root_.parent_path() / "outside.txt") << "x";
    EXPECT_FALSE(fs::fileExists("C:\\..\\outside.txt"));
    EXPECT_EQ(fs::hostPath("C:\\..\\..\\WINDOWS\\.\\x"), (root_ / "WINDOWS" / "x").string());
    stdfs::remove(root_.parent_path() / "outside.txt");
}

TEST_F(Drive, WithoutADriveFolderNothingIsTouched) {
    fs::setDriveRoot("");
    EXPECT_FALSE(fs::fileExists("C:\\WINDOWS"));
    EXPECT_THROW(fs::makeDirectory("C:\\bv-should-not-exist"), Failure);
    EXPECT_THROW(fs::readFile("C:\\etc\\hostname"), Failure);
    EXPECT_FALSE(stdfs::exists("/bv-should-not-exist"));
}

TEST_F(Drive, BareNameIsTheNameAsStored) {
    put("C:\\WINDOWS\\Beach Photo.BMP", "BM");
    EXPECT_EQ(fs::bareName("c:\\windows\\beach photo.bmp"), "Beach Photo.BMP");
    EXPECT_EQ(fs::bareName("C:\\WINDOWS\\missing.bmp"), "");
    EXPECT_EQ(fs::bareName("C:\\WINDOWS"), "");
}

TEST_F(Drive, MakeDirectoryMakesOneLevelOnce) {
    fs::makeDirectory(paths::dataDir());
    EXPECT_TRUE(stdfs::is_directory(root_ / "WINDOWS" / "b_kelvo"));
    EXPECT_EQ(failureOf([] { fs::makeDirectory(paths::dataDir()); }),
              "Path/File access error: C:\\WINDOWS\\b_kelvo");
    EXPECT_EQ(failureOf([] { fs::makeDirectory("C:\\WINDOWS\\x\\y"); }),
              "Path not found: C:\\WINDOWS\\x\\y");
    EXPECT_FALSE(stdfs::exists(root_ / "WINDOWS" / "x"));
}

TEST_F(Drive, CopyFileReplacesTheDestination) {
    makeDataStore();
    std::string bitmap = std::string("BM\0\x01\xFF", 5) + std::string(200'000, 'p');
    put("C:\\WINDOWS\\pick.bmp", bitmap);
    put(paths::wallpaper(3), "old picture");
    fs::copyFile("C:\\WINDOWS\\pick.bmp", paths::wallpaper(3));
    EXPECT_EQ(get(paths::wallpaper(3)), bitmap);
    EXPECT_EQ(entries(paths::wallpapersDir()), std::set<std::string>{"3.bmp"});
    fs::copyFile("C:\\WINDOWS\\pick.bmp", paths::wallpaper(4));
    EXPECT_EQ(get(paths::wallpaper(4)), bitmap);
}

TEST_F(Drive, FailedCopyLeavesDestinationAndNoTemporaryFile) {
    makeDataStore();
    put(paths::wallpaper(1), "old picture");
    EXPECT_EQ(failureOf([] { fs::copyFile("C:\\WINDOWS\\gone.bmp", paths::wallpaper(1)); }),
              "File not found: C:\\WINDOWS\\gone.bmp");
    EXPECT_EQ(failureOf([] { fs::copyFile("C:\\nowhere\\gone.bmp", paths::wallpaper(1)); }),
              "Path not found: C:\\nowhere\\gone.bmp");
    EXPECT_EQ(get(paths::wallpaper(1)), "old picture");

    put("C:\\WINDOWS\\pick.bmp", "new picture");
    EXPECT_EQ(failureOf([] { fs::copyFile("C:\\WINDOWS\\pick.bmp", "C:\\WINDOWS\\no\\1.bmp"); }),
              "Path not found: C:\\WINDOWS\\no\\1.bmp");
    EXPECT_THROW(fs::copyFile(paths::wallpapersDir(), paths::wallpaper(1)), Failure);

    // A read-only destination refuses the copy and keeps its bytes.
    stdfs::permissions(host(paths::wallpaper(1)), stdfs::perms::owner_read);
    EXPECT_EQ(failureOf([] { fs::copyFile("C:\\WINDOWS\\pick.bmp", paths::wallpaper(1)); }),
              "Permission denied: " + paths::wallpaper(1));
    EXPECT_EQ(get(paths::wallpaper(1)), "old picture");
    EXPECT_EQ(entries(paths::wallpapersDir()), std::set<std::string>{"1.bmp"});
}

TEST_F(Drive, AFileIsReadByPartsAsItWasOpened) {
    makeDataStore();
    put(paths::wallpaper(1), "BM0123456789");
    fs::FileReader reader(paths::wallpaper(1));
    stdfs::remove(host(paths::wallpaper(1)));  // a writer replaces it meanwhile
    EXPECT_EQ(reader.size(), 12u);
    char part[8] = {};
    EXPECT_EQ(reader.read(part, 2), 2u);
    EXPECT_EQ(std::string(part, 2), "BM");
    reader.seek(8);
    EXPECT_EQ(reader.read(part, sizeof part), 4u);  // short only at the end
    EXPECT_EQ(std::string(part, 4), "6789");
    EXPECT_EQ(reader.read(part, sizeof part), 0u);
    EXPECT_EQ(reader.readAll(), "BM0123456789");

    EXPECT_EQ(failureOf([] { fs::FileReader{paths::wallpaper(1)}; }),
              "File not found: " + paths::wallpaper(1));
    EXPECT_EQ(failureOf([] { fs::FileReader{paths::wallpapersDir()}; }),
              "Permission denied: " + paths::wallpapersDir());
    EXPECT_EQ(failureOf([] { fs::FileReader{"C:\\nowhere\\1.bmp"}; }),
              "Path not found: C:\\nowhere\\1.bmp");
}

TEST_F(Drive, NotesRoundTripThroughFiles) {
    makeDataStore();
    bv::note::writeNote(paths::speedNote(), bv::num::decimal(2500));
    EXPECT_EQ(get(paths::speedNote()), bv::note::toRtf("2500"));
    EXPECT_EQ(bv::num::leadingInteger(bv::note::readNote(paths::speedNote())), 2500);

    const std::string caption = "Selected Image # \xC3\xA9t\xC3\xA9 {1}\\\xE6\x97\xA5.bmp";
    bv::note::writeNote(paths::captionNote(7), caption);
    EXPECT_EQ(bv::note::readNote(paths::captionNote(7)), caption);
    bv::note::writeNote(paths::captionNote(7), "shorter");
    EXPECT_EQ(bv::note::readNote(paths::captionNote(7)), "shorter");
    EXPECT_EQ(entries(paths::scriptDir()), std::set<std::string>{"wall7.note"});

    put(paths::okNote(), "not rtf at all\r\n");
    EXPECT_EQ(bv::note::readNote(paths::okNote()), "not rtf at all");
}

TEST_F(Drive, NoteFailuresLoseNothing) {
    EXPECT_EQ(failureOf([] { bv::note::writeNote(paths::topNote(), "1200"); }),
              "Path not found: " + paths::topNote());
    EXPECT_FALSE(stdfs::exists(root_ / "WINDOWS" / "b_kelvo"));

    makeDataStore();
    EXPECT_EQ(failureOf([] { bv::note::readNote(paths::speedNote()); }),
              "File not found: " + paths::speedNote());
    EXPECT_EQ(failureOf([] { bv::note::readNote(paths::scriptDir()); }),
              "Permission denied: " + paths::scriptDir());
    put(paths::speedNote(), "{\\rtf1 " + std::string(5000, '{'));
    EXPECT_EQ(failureOf([] { bv::note::readNote(paths::speedNote()); }),
              "Invalid file format: " + paths::speedNote());
    // A note is one short value: a huge one is refused unread, one just
    // below the limit is read whole.
    std::string fits = bv::note::toRtf("2500");
    fits.resize(1 << 20, ' ');
    put(paths::speedNote(), fits + " ");
    EXPECT_EQ(failureOf([] { bv::note::readNote(paths::speedNote()); }),
              "File too large: " + paths::speedNote());
    put(paths::speedNote(), fits);
    EXPECT_EQ(bv::num::leadingInteger(bv::note::readNote(paths::speedNote())), 2500);

    bv::note::writeNote(paths::captionNote(1), "kept");
    stdfs::permissions(host(paths::captionNote(1)), stdfs::perms::owner_read);
    EXPECT_THROW(bv::note::writeNote(paths::captionNote(1), "lost"), Failure);
    EXPECT_EQ(bv::note::readNote(paths::captionNote(1)), "kept");
    EXPECT_EQ(entries(paths::scriptDir()), std::set<std::string>{"wall1.note"});
}

// A disk that fills while the new file is written: a file-size limit on this
// process lets the first kLimit bytes of any file through and refuses the
// rest (EFBIG, with SIGXFSZ ignored). The failure thus comes after bytes were
// written, where a writer that filled the file in place would have cut the
// old one; the atomic writer loses only its temporary file.
class DiskThatFills {
  public:
    static constexpr rlim_t kLimit = 4096;
    DiskThatFills() {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = kLimit;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskThatFills() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    DiskThatFills(const DiskThatFills&) = delete;
    DiskThatFills& operator=(const DiskThatFills&) = delete;

  private:
    rlimit old_{};
    void (*oldSignal_)(int) = SIG_DFL;
};

TEST_F(Drive, DiskThatFillsHalfwayLeavesTheOldNoteAndBitmapWhole) {
    makeDataStore();
    bv::note::writeNote(paths::captionNote(1), "Selected Image # old.bmp");
    const std::string oldNote = get(paths::captionNote(1));
    put(paths::wallpaper(1), "BM old picture");
    const std::string big(3 * DiskThatFills::kLimit, 'p');
    put("C:\\WINDOWS\\pick.bmp", "BM" + big);
    {
        DiskThatFills full;
        EXPECT_EQ(failureOf([&] { bv::note::writeNote(paths::captionNote(1), big); }),
                  "Path/File access error: " + paths::captionNote(1));
        EXPECT_EQ(failureOf([] { fs::copyFile("C:\\WINDOWS\\pick.bmp", paths::wallpaper(1)); }),
                  "Path/File access error: " + paths::wallpaper(1));
    }
    EXPECT_EQ(get(paths::captionNote(1)), oldNote);
    EXPECT_EQ(get(paths::wallpaper(1)), "BM old picture");
    EXPECT_EQ(entries(paths::scriptDir()), std::set<std::string>{"wall1.note"});
    EXPECT_EQ(entries(paths::wallpapersDir()), std::set<std::string>{"1.bmp"});

    // Once there is room again, the same writes go through.
    bv::note::writeNote(paths::captionNote(1), big);
    EXPECT_EQ(bv::note::readNote(paths::captionNote(1)), big);
}

TEST_F(Drive, DeleteFileRemovesOneOrdinaryFile) {
    fs::makeDirectory(paths::dataDir());
    put(paths::okNote(), "x");
    fs::deleteFile("C:\\WINDOWS\\B_KELVO\\ok.note");
    EXPECT_FALSE(stdfs::exists(host(paths::okNote())));
    EXPECT_EQ(failureOf([] { fs::deleteFile(paths::okNote()); }),
              "File not found: " + paths::okNote());
    EXPECT_EQ(failureOf([] { fs::deleteFile(paths::topNote()); }),
              "Path not found: " + paths::topNote());
    EXPECT_EQ(failureOf([] { fs::deleteFile(paths::dataDir()); }),
              "File not found: " + paths::dataDir());
    EXPECT_TRUE(stdfs::is_directory(host(paths::dataDir())));
}

}  // namespace
