// Reading and writing text files with real files in a private temporary
// folder, and the file-existence test.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "AnsiString.h"
#include "DriverBasics.h"
#include "MessageBoxCapture.h"

namespace {

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

    writeBytes(file, "abc\r\ndef");
    EXPECT_TRUE(s.Load(file.c_str()));
    EXPECT_STREQ(s.c_str(), "abc");

    writeBytes(file, "unix\nline");
    EXPECT_TRUE(s.Load(AnsiString(file.c_str())));
    EXPECT_STREQ(s.c_str(), "unix");

    writeBytes(file, std::string("nul\0after", 9));
    EXPECT_TRUE(s.Load(file.c_str()));
    EXPECT_STREQ(s.c_str(), "nul");

    writeBytes(file, "\xE4\xF6\x1A!");  // raw bytes, no text-mode end-of-file
    EXPECT_TRUE(s.Load(file.c_str()));
    EXPECT_STREQ(s.c_str(), "\xE4\xF6\x1A!");

    writeBytes(file, "");
    EXPECT_TRUE(s.Load(file.c_str()));
    EXPECT_TRUE(s.IsEmpty());
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

    ASSERT_EQ(boxes.count(), 4u);
    const char* captions[] = {"AnsiString::Load", "AnsiString::Save", "AnsiString::Save",
                              "AnsiString::Load"};
    for (size_t i = 0; i < boxes.count(); ++i) {
        EXPECT_EQ(boxes[i].text, "ERROR: File open error!");
        EXPECT_EQ(boxes[i].caption, captions[i]);
        EXPECT_EQ(boxes[i].icon, UINT(MB_ICONERROR));
    }
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
    ASSERT_EQ(boxes.count(), 2u);
    for (const CapturedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.text, "ERROR: File open error!");
        EXPECT_EQ(box.caption, "AnsiString::Save");
        EXPECT_EQ(box.icon, UINT(MB_ICONERROR));
    }
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
