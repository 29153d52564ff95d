// folder_enum_test.cpp -- the folder enumeration on real folders: entries in name order whatever
// order they were made in, large folders against the plain comparison, and folders that change
// between two reads.
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_enum.h"
#include "platform/name_order.h"
#include "support/temp_tree.h"

namespace {

struct Listed {
    std::vector<std::string> names;
    std::vector<std::string> folders;
    FolderNextResult end;
};

Listed listFolder(const std::string &path) {
    Listed listed;
    FolderSearch *search = openFolderSearch(path.c_str());
    EXPECT_NE(search, nullptr) << path;
    if (search == nullptr)
        return listed;
    FolderEntry entry;
    while ((listed.end = nextFolderEntry(search, &entry)) == FOLDER_NEXT_ENTRY) {
        listed.names.push_back(entry.name);
        if (entry.isDirectory)
            listed.folders.push_back(entry.name);
    }
    closeFolderSearch(search);
    return listed;
}

std::vector<std::string> sortedByName(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return compareNames(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

class FolderEnum : public ::testing::Test {
  protected:
    std::string root;
    void SetUp() override {
        root = makeTempFolder();
        ASSERT_FALSE(root.empty());
    }
    void TearDown() override { removeTree(root); }

    void makeFiles(std::vector<std::string> names, unsigned seed) {
        std::shuffle(names.begin(), names.end(), std::mt19937(seed));
        for (const std::string &name : names)
            ASSERT_TRUE(makeFile(root + "/" + name)) << name;
    }
};

} // namespace

TEST_F(FolderEnum, EntriesComeInNameOrderWhateverOrderTheyWereMadeIn) {
    const std::vector<std::string> files = {
        "b.jpg",
        "A.jpg",
        "a.jpg",
        "IMG_0010.JPG",
        "IMG_0009.jpg",
        "9.bmp",
        "10.bmp",
        "Zebra.gif",
        "img_0011.jpg",
        "_notes.txt",
        "\xC3\xA9t\xC3\xA9.jpg",                                // été
        "\xC3\x89t\xC3\xA9.jpg",                                // Été
        "\xC3\xA9tang.jpg",                                     // étang
        "\xCE\xA9mega.jpg",                                     // Ωmega
        "\xD1\x8F\xD0\xBC\xD0\xB1.jpg",                         // ямб
        "\xD0\xAF\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA\xD0\xBE.jpg", // Яблоко
        "\xE4\xB8\xAD\xE6\x96\x87.jpg",                         // 中文
    };
    for (const char *folder : {"folder2", "\xC3\xA9mile", "Folder"})
        ASSERT_TRUE(makeFolder(root + "/" + folder));
    makeFiles(files, 7);

    Listed listed = listFolder(root);
    EXPECT_EQ(listed.end, FOLDER_NEXT_END);
    EXPECT_EQ(listed.names,
              (std::vector<std::string>{".",
                                        "..",
                                        "10.bmp",
                                        "9.bmp",
                                        "A.jpg",
                                        "a.jpg",
                                        "b.jpg",
                                        "Folder",
                                        "folder2",
                                        "IMG_0009.jpg",
                                        "IMG_0010.JPG",
                                        "img_0011.jpg",
                                        "Zebra.gif",
                                        "_notes.txt",
                                        "\xC3\xA9mile",
                                        "\xC3\xA9tang.jpg",
                                        "\xC3\x89t\xC3\xA9.jpg",
                                        "\xC3\xA9t\xC3\xA9.jpg",
                                        "\xCE\xA9mega.jpg",
                                        "\xD0\xAF\xD0\xB1\xD0\xBB\xD0\xBE\xD0\xBA\xD0\xBE.jpg",
                                        "\xD1\x8F\xD0\xBC\xD0\xB1.jpg",
                                        "\xE4\xB8\xAD\xE6\x96\x87.jpg"}));
    EXPECT_EQ(listed.folders,
              (std::vector<std::string>{".", "..", "Folder", "folder2", "\xC3\xA9mile"}));
}

// Enough names for the sort's every path: long shared prefixes, case variants, names that
// are prefixes of others, bytes that are not UTF-8, and letters of several scripts.
TEST_F(FolderEnum, LargeFolderFollowsTheComparison) {
    std::vector<std::string> names;
    for (int i = 0; i < 1200; i++) {
        names.push_back("Holiday photographs " + std::to_string(i * 7 % 1000) + " " +
                        std::to_string(i) + ".jpg");
        names.push_back("x" + std::string(static_cast<size_t>(i % 40), 'a') + std::to_string(i));
    }
    for (int mask = 0; mask < 256; mask++) {
        std::string variant = "abcdefgh";
        for (int bit = 0; bit < 8; bit++)
            if (mask & (1 << bit))
                variant[bit] = static_cast<char>(variant[bit] - 'a' + 'A');
        names.push_back(variant);
        names.push_back(variant + std::string(1, static_cast<char>(0x80 + mask % 64)));
    }
    const char *const letters[] = {"\xC3\xA9",     "\xC3\x89", "\xCE\xB1",     "\xCE\x91",
                                   "\xD0\xB6",     "\xD0\x96", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                   "\xEF\xBD\x81", "\xE9",     "\xFF"};
    for (int i = 0; i < 600; i++)
        names.push_back(std::string(letters[i % 11]) + letters[i / 11 % 11] + std::to_string(i));
    makeFiles(names, 11);

    names.push_back(".");
    names.push_back("..");
    Listed listed = listFolder(root);
    EXPECT_EQ(listed.end, FOLDER_NEXT_END);
    EXPECT_EQ(listed.names, sortedByName(names));
}

TEST_F(FolderEnum, ASecondReadSeesWhatChangedInBetween) {
    std::vector<std::string> names;
    for (int i = 0; i < 300; i++)
        names.push_back("picture " + std::to_string(i) + ".jpg");
    makeFiles(names, 3);
    names.push_back(".");
    names.push_back("..");
    const std::vector<std::string> before = sortedByName(names);
    EXPECT_EQ(listFolder(root).names, before);
    EXPECT_EQ(listFolder(root).names, before);

    // A name of the same length changed, one removed, one added, one made a folder.
    ASSERT_EQ(rename((root + "/picture 17.jpg").c_str(), (root + "/Picture 71.jpg").c_str()), 0);
    ASSERT_EQ(remove((root + "/picture 2.jpg").c_str()), 0);
    ASSERT_TRUE(makeFile(root + "/a new one.gif"));
    ASSERT_EQ(remove((root + "/picture 99.jpg").c_str()), 0);
    ASSERT_TRUE(makeFolder(root + "/picture 99.jpg"));
    std::replace(names.begin(), names.end(), std::string("picture 17.jpg"),
                 std::string("Picture 71.jpg"));
    names.erase(std::find(names.begin(), names.end(), "picture 2.jpg"));
    names.push_back("a new one.gif");
    Listed after = listFolder(root);
    EXPECT_EQ(after.names, sortedByName(names));
    EXPECT_EQ(after.folders, (std::vector<std::string>{".", "..", "picture 99.jpg"}));

    // Another folder read in between, then this one again.
    const std::string other = makeTempFolder();
    ASSERT_TRUE(makeFile(other + "/only.jpg"));
    EXPECT_EQ(listFolder(other).names, (std::vector<std::string>{".", "..", "only.jpg"}));
    removeTree(other);
    EXPECT_EQ(listFolder(root).names, after.names);
}

TEST_F(FolderEnum, FolderThatCannotBeOpened) {
    ASSERT_TRUE(makeFile(root + "/file.jpg"));
    EXPECT_EQ(openFolderSearch((root + "/missing").c_str()), nullptr);
    EXPECT_EQ(openFolderSearch((root + "/file.jpg").c_str()), nullptr);
    closeFolderSearch(nullptr);
}
