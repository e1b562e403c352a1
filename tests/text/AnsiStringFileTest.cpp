// Reading and writing text files with real files in a private temporary
// folder, and the file-existence test.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "AnsiString.h"
#include "DriverBasics.h"
#include "MessageBoxCapture.h"

namespace {

const CapturedBox LoadFailed = ErrorBox("AnsiString::Load", "ERROR: File open error!");
const CapturedBox SaveFailed = ErrorBox("AnsiString::Save", "ERROR: File open error!");

class AnsiStringFiles : public testing::Test {
protected:
    void SetUp() override {
        char tempPath[MAX_PATH];
        char unique[MAX_PATH];
        ASSERT_NE(GetTempPathA(MAX_PATH, tempPath), 0u);
        ASSERT_NE(GetTempFileNameA(tempPath, "wt", 0, unique), 0u);
        // The unique name becomes a folder of our own.
        DeleteFileA(unique);
        ASSERT_TRUE(CreateDirectoryA(unique, nullptr));
        folder_ = unique;
    }
    void TearDown() override {
        for (const std::string& name : created_) {
            DeleteFileA(name.c_str());
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string path(const char* name) {
        created_.push_back(folder_ + "\\" + name);
        return created_.back();
    }

    static void writeBytes(const std::string& file, const std::string& bytes) {
        FILE* f = fopen(file.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }

    static std::string readBytes(const std::string& file) {
        const std::vector<unsigned char> bytes = ReadFileBytes(file);
        return std::string(bytes.begin(), bytes.end());
    }

    std::string folder_;
    std::vector<std::string> created_;
};

TEST_F(AnsiStringFiles, LoadReadsTheFirstLine) {
    const std::string file = path("lines.txt");
    AnsiString s("old");
    const std::pair<std::string, const char*> files[] = {
        {"abc\r\ndef", "abc"},
        {"unix\nline", "unix"},
        {std::string("nul\0after", 9), "nul"},
        {"\xE4\xF6\x1A!", "\xE4\xF6\x1A!"},  // raw bytes, no text-mode end-of-file
        {"", ""},
    };
    for (const auto& [bytes, line] : files) {
        writeBytes(file, bytes);
        EXPECT_TRUE(s.Load(file.c_str()));
        EXPECT_STREQ(s.c_str(), line);
        s = "old";
        EXPECT_TRUE(s.Load(AnsiString(file.c_str())));
        EXPECT_STREQ(s.c_str(), line);
    }
}

TEST_F(AnsiStringFiles, LoadStopsAt255Characters) {
    const std::string file = path("long.txt");
    writeBytes(file, std::string(255, 'a') + "bcd\r\n");
    AnsiString s;
    EXPECT_TRUE(s.Load(file.c_str()));
    EXPECT_EQ(std::string(s.c_str()), std::string(255, 'a'));
}

TEST_F(AnsiStringFiles, SaveReplacesSaveAddAppendsLines) {
    const std::string file = path("out.txt");
    const AnsiString x("x");
    AnsiString copy(x);
    EXPECT_TRUE(copy.SaveAdd(file.c_str()));
    EXPECT_TRUE(copy.SaveAdd(AnsiString(file.c_str())));
    EXPECT_EQ(readBytes(file), "x\r\nx\r\n");

    EXPECT_TRUE(copy.Save(file.c_str()));
    EXPECT_EQ(readBytes(file), "x");
    AnsiString empty;
    EXPECT_TRUE(empty.Save(AnsiString(file.c_str())));
    EXPECT_EQ(readBytes(file), "");

    AnsiString raw("\xE4\n");
    EXPECT_TRUE(raw.SaveAdd(file.c_str()));
    EXPECT_EQ(readBytes(file), "\xE4\n\r\n");  // no line-end translation

    AnsiString back;
    EXPECT_TRUE(back.Load(file.c_str()));
    EXPECT_STREQ(back.c_str(), "\xE4");
}

TEST_F(AnsiStringFiles, UnopenableFilesAreReported) {
    MessageBoxCapture boxes;
    const std::string missing = folder_ + "\\missing\\file.txt";
    AnsiString s("kept");

    EXPECT_FALSE(s.Load(missing.c_str()));
    EXPECT_STREQ(s.c_str(), "kept");
    EXPECT_FALSE(s.Save(missing.c_str()));
    EXPECT_FALSE(s.SaveAdd(AnsiString(missing.c_str())));
    EXPECT_FALSE(s.Load(static_cast<const char*>(nullptr)));

    EXPECT_EQ(boxes.boxes(),
              (std::vector<CapturedBox>{LoadFailed, SaveFailed, SaveFailed, LoadFailed}));
}

TEST_F(AnsiStringFiles, AFailedWriteIsNotReportedAsSuccess) {
    // The device that is always full: opening works, writing never does.
    if (!FileExists("Z:\\dev\\full")) {
        GTEST_SKIP() << "no full device here";
    }
    MessageBoxCapture boxes;
    AnsiString s("data");
    EXPECT_FALSE(s.Save("Z:\\dev\\full"));
    EXPECT_FALSE(s.SaveAdd("Z:\\dev\\full"));
    EXPECT_EQ(boxes.boxes(), std::vector<CapturedBox>(2, SaveFailed));
}

TEST_F(AnsiStringFiles, FileExists) {
    const std::string file = path("here.txt");
    writeBytes(file, "x");
    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_TRUE(FileExists(AnsiString(file.c_str())));
    // The check left the file closed: it can be deleted at once.
    EXPECT_TRUE(DeleteFileA(file.c_str()));

    EXPECT_FALSE(FileExists(file.c_str()));
    EXPECT_FALSE(FileExists(folder_.c_str()));  // a folder cannot be opened for reading
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(static_cast<const char*>(nullptr)));
}

}  // namespace
