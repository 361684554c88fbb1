// File types, the file dialog and files.
#include "platform/dg/DGUserInput.hpp"
#include "platform/ftm/FileTypeManager.hpp"
#include "platform/gs/Memory.hpp"
#include "platform/io/File.hpp"
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <new>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh temporary folder per test, removed with what is in it.
class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/armbrix-files-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + path + "'").c_str()); }
    std::string Path(const std::string& name) const { return path + "/" + name; }

private:
    std::string path;
};

TEST(FileTypes, SearchFindsOnlyLiveTypesOfTheSameExtensionAndCodes)
{
    FTM::FileType text(nullptr, "txt", 0, 0, 0, nullptr, true);
    EXPECT_EQ(FTM::FileTypeManager::SearchForType(text, FTM::RootGroup), FTM::UnknownType);
    FTM::TypeID first = FTM::UnknownType;
    {
        FTM::FileTypeManager manager("MyManager");
        first = manager.AddType(FTM::FileType("Text file", "TXT", 0, 0, 0), FTM::RootGroup);
        ASSERT_NE(first, FTM::UnknownType);
        EXPECT_EQ(FTM::FileTypeManager::SearchForType(text, FTM::RootGroup), first) << "case and description do not count";
        EXPECT_EQ(FTM::FileTypeManager::SearchForType(FTM::FileType(nullptr, "txt", 1, 0, 0)), FTM::UnknownType);
        EXPECT_EQ(FTM::FileTypeManager::SearchForType(FTM::FileType(nullptr, "csv", 0, 0, 0)), FTM::UnknownType);
        FTM::FileType found;
        ASSERT_TRUE(FTM::FileTypeManager::GetType(first, &found));
        EXPECT_EQ(found.GetDescription().ToUtf8(), "Text file");
        EXPECT_EQ(manager.AddType(text, FTM::RootGroup + 1), FTM::UnknownType) << "no such group";
    }
    // The types went with their manager; their ids are not given out again.
    EXPECT_EQ(FTM::FileTypeManager::SearchForType(text, FTM::RootGroup), FTM::UnknownType);
    EXPECT_FALSE(FTM::FileTypeManager::GetType(first, nullptr));
    FTM::FileTypeManager other("Other");
    EXPECT_NE(other.AddType(text), first);
}

class FileDialogTest : public ::testing::Test {
protected:
    void TearDown() override { DG::UserInput::SetFileDialogAnswer(nullptr); }
};

TEST_F(FileDialogTest, WithoutAnAnswerTheDialogIsCancelled)
{
    DG::FileDialog dialog(DG::FileDialog::Save);
    EXPECT_FALSE(dialog.Invoke());
    EXPECT_EQ(dialog.GetSelectionCount(), 0u);
    EXPECT_TRUE(dialog.GetSelectedFile().IsEmpty());
    DG::UserInput::SetFileDialogAnswer([](const DG::FileDialog&, IO::Location*) { return false; });
    EXPECT_FALSE(dialog.Invoke());
}

TEST_F(FileDialogTest, TheUserSeesTheFiltersAndTheFirstFilterGivesTheExtension)
{
    FTM::FileTypeManager manager("MyManager");
    FTM::TypeID text = manager.AddType(FTM::FileType(nullptr, "txt", 0, 0, 0));
    DG::FileDialog dialog(DG::FileDialog::Save);
    EXPECT_EQ(dialog.AddFilter(FTM::UnknownType, DG::FileDialog::AppendExtension), -1);
    Int32 filter = dialog.AddFilter(text, DG::FileDialog::AppendExtension);
    ASSERT_EQ(filter, 0);
    EXPECT_TRUE(dialog.SetFilterText(filter, GS::UniString("*.txt", CC_UTF8)));
    EXPECT_FALSE(dialog.SetFilterText(1, GS::UniString("*.csv", CC_UTF8)));

    struct Case {
        const char* typed;
        const char* chosen;
    };
    for (const Case& c : {Case{"/tmp/list", "/tmp/list.txt"}, Case{"/tmp/list.csv", "/tmp/list.csv"},
                          Case{"/tmp/a.b/list", "/tmp/a.b/list.txt"}}) {
        std::string typed = c.typed;
        Int32 seenType = 0;
        std::string seenFilter;
        DG::UserInput::SetFileDialogAnswer([&](const DG::FileDialog& shown, IO::Location* chosen) {
            seenType = shown.GetType();
            seenFilter = shown.GetFilters().at(0).text.ToUtf8() + " " + shown.GetFilters().at(0).extension.ToUtf8();
            *chosen = IO::Location(typed);
            return true;
        });
        ASSERT_TRUE(dialog.Invoke()) << c.typed;
        EXPECT_EQ(seenType, 4);
        EXPECT_EQ(seenFilter, "*.txt txt");
        EXPECT_EQ(dialog.GetSelectedFile().ToPath(), c.chosen);
    }
}

TEST(Files, CreateMakesAMissingFileAndFailReportsIt)
{
    TempFolder folder;
    IO::File missing(IO::Location(folder.Path("absent.txt")), IO::File::Fail);
    EXPECT_EQ(missing.GetStatus(), IO::FileNotFound);
    EXPECT_EQ(missing.Open(IO::File::WriteMode), IO::FileNotFound);

    IO::File made(IO::Location(folder.Path("made.txt")), IO::File::Create);
    EXPECT_EQ(made.GetStatus(), NoError);
    struct stat info;
    EXPECT_EQ(::stat(folder.Path("made.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 0);
}

TEST(Files, UnusableLocationsGiveTheirError)
{
    TempFolder folder;
    struct Case {
        std::string path;
        GSErrCode status;
    };
    for (const Case& c : {Case{folder.Path("no-such-folder/list.txt"), IO::FileNotFound},
                          Case{folder.Path(""), IO::AccessDenied}, Case{"", IO::FileNotFound}}) {
        IO::File file(IO::Location(c.path), IO::File::Create);
        EXPECT_EQ(file.GetStatus(), c.status) << c.path;
        EXPECT_EQ(file.Open(IO::File::WriteMode, IO::File::ShareReadWrite), c.status) << c.path;
        EXPECT_EQ(file.WriteBin("x", 1), IO::FileNotOpen);
        EXPECT_EQ(file.Close(), NoError);
    }
}

TEST(Files, WriteModeWritesFromTheStartAndKeepsTheLengthUntilCut)
{
    TempFolder folder;
    std::string path = folder.Path("list.txt");
    std::ofstream(path, std::ios::binary) << "0123456789";
    IO::File file(IO::Location(path), IO::File::Create);
    ASSERT_EQ(file.Open(IO::File::WriteMode, IO::File::ShareReadWrite), NoError);
    EXPECT_EQ(file.Open(IO::File::WriteMode), IO::FileError) << "already open";
    USize written = 0;
    EXPECT_EQ(file.WriteBin("ab", 2, &written), NoError);
    EXPECT_EQ(written, 2u);
    EXPECT_EQ(ReadAll(path), "ab23456789");
    EXPECT_EQ(file.SetDataLength(2), NoError);
    EXPECT_EQ(file.Close(), NoError);
    EXPECT_EQ(ReadAll(path), "ab");
    EXPECT_EQ(file.SetDataLength(0), IO::FileNotOpen);
}

TEST(Files, AFailedWriteIsReported)
{
    IO::File full(IO::Location(std::string("/dev/full")));
    ASSERT_EQ(full.Open(IO::File::WriteMode), NoError);
    USize written = 1;
    EXPECT_NE(full.WriteBin("abc", 3, &written), NoError);
    EXPECT_EQ(written, 0u);
}

TEST(Files, FileObjectsComeFromTheMemoryManager)
{
    Int64 blocks = GS::LiveMemoryBlockCount();
    auto* file = new IO::File(IO::Location(std::string("/tmp")));
    EXPECT_EQ(GS::LiveMemoryBlockCount(), blocks + 1);
    delete file;
    EXPECT_EQ(GS::LiveMemoryBlockCount(), blocks);
    GS::FailNthAllocation(1);
    EXPECT_THROW(new IO::File(IO::Location(std::string("/tmp"))), std::bad_alloc);
    GS::FailNthAllocation(0);
    EXPECT_EQ(GS::LiveMemoryBlockCount(), blocks);
}

}  // namespace
