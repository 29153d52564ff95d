// font_linking_test.cpp -- the faces Windows links to the program's face are searched before
// any other installed face: the link is set in the registry for the test and put back after.
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts.h"

namespace {

const wchar_t *const SYSTEM_LINK =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink";

// Sets the face's SystemLink list for the test's life, keeping the one it had.
class FaceLink {
  public:
    FaceLink(const wchar_t *face, std::initializer_list<const wchar_t *> entries) : face_(face) {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SYSTEM_LINK, 0, nullptr, 0,
                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                            nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(key_, face_, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            saved_.resize(size);
            hadValue_ = RegQueryValueExW(key_, face_, nullptr, &savedType_, saved_.data(), &size) ==
                        ERROR_SUCCESS;
        }
        std::wstring list; // each entry ended by a null, the list by an empty entry
        for (const wchar_t *entry : entries)
            list += std::wstring(entry) + L'\0';
        set_ = RegSetValueExW(
                   key_, face_, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE *>(list.c_str()),
                   static_cast<DWORD>((list.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~FaceLink() {
        if (key_ == nullptr)
            return;
        if (hadValue_)
            RegSetValueExW(key_, face_, 0, savedType_, saved_.data(),
                           static_cast<DWORD>(saved_.size()));
        else if (set_)
            RegDeleteValueW(key_, face_);
        RegCloseKey(key_);
    }
    bool isSet() const { return set_; }

  private:
    const wchar_t *face_;
    HKEY key_ = nullptr;
    bool set_ = false;
    bool hadValue_ = false;
    DWORD savedType_ = 0;
    std::vector<BYTE> saved_;
};

struct Shape {
    float advance = 0.0f;
    int contours = 0, points = 0;
    bool operator==(const Shape &o) const {
        return advance == o.advance && contours == o.contours && points == o.points;
    }
};

Shape shapeOf(const char *face, int code) {
    std::unique_ptr<GlyphOutline> outline = std::make_unique<GlyphOutline>();
    Font *font = createFont(face, -12, 700);
    EXPECT_NE(font, nullptr) << face;
    if (font == nullptr)
        return {};
    EXPECT_TRUE(getGlyphOutline(font, code, outline.get())) << face;
    releaseFont(font);
    return {outline->advance, outline->contourCount, outline->pointCount};
}

} // namespace

// ① is in both DejaVu Sans and WenQuanYi Micro Hei, not in the program's face. Unlinked it
// comes from DejaVu Sans, found first among the installed faces; linked to WenQuanYi Micro
// Hei, from that.
TEST(FontLinking, LinkedFacesComeBeforeOtherInstalledFaces) {
    const int circledOne = 0x2460;
    const Shape dejaVu = shapeOf("DejaVu Sans", circledOne);
    const Shape wenQuanYi = shapeOf("WenQuanYi Micro Hei", circledOne);
    ASSERT_GT(dejaVu.contours, 0);
    ASSERT_GT(wenQuanYi.contours, 0);
    ASSERT_FALSE(dejaVu == wenQuanYi);
    EXPECT_TRUE(shapeOf("Arial", circledOne) == dejaVu);
    {
        FaceLink link(L"Arial", {L"MSGOTHIC.TTC,MS UI Gothic", L"NOFACE.TTF",
                                 L"wqy-microhei.ttc,WenQuanYi Micro Hei,128,96"});
        if (!link.isSet())
            GTEST_SKIP() << "the font links cannot be written";
        EXPECT_TRUE(shapeOf("Arial", circledOne) == wenQuanYi);
    }
    EXPECT_TRUE(shapeOf("Arial", circledOne) == dejaVu);
}
