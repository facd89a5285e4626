// The ini file's reading and editing rules, on the in-memory document.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/core/ini_document.h"
#include "app/core/ini_store.h"

namespace {

std::string valueOr(const IniDocument& doc, const char* section, const char* key,
                    const char* fallback = "<missing>") {
    return doc.value(section, key).value_or(fallback);
}

TEST(IniInt, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(parseLeadingInt("30"), 30);
    EXPECT_EQ(parseLeadingInt("-1200"), -1200);
    EXPECT_EQ(parseLeadingInt("  7 seconds"), 7);
    EXPECT_EQ(parseLeadingInt("12abc"), 12);
    EXPECT_EQ(parseLeadingInt("abc"), 0);
    EXPECT_EQ(parseLeadingInt(""), 0);
    EXPECT_EQ(parseLeadingInt("-"), 0);
    EXPECT_EQ(parseLeadingInt("+5"), 0);
    EXPECT_EQ(parseLeadingInt("--5"), 0);
    EXPECT_EQ(parseLeadingInt("0x10"), 0);
}

TEST(IniInt, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(parseLeadingInt("2147483647"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-2147483648"), INT_MIN);
    EXPECT_EQ(parseLeadingInt("99999999999999999999999"), INT_MAX);
    EXPECT_EQ(parseLeadingInt("-99999999999999999999999"), INT_MIN);
}

TEST(IniDocument, EmptyValueIsNotAMissingKey) {
    IniDocument doc = IniDocument::parse("[S]\nempty=\nblank=   \n");
    EXPECT_EQ(valueOr(doc, "S", "empty"), "");
    EXPECT_EQ(valueOr(doc, "S", "blank"), "");
    EXPECT_EQ(valueOr(doc, "S", "absent"), "<missing>");
    EXPECT_EQ(valueOr(doc, "Other", "empty"), "<missing>");
}

TEST(IniDocument, NamesIgnoreCaseAndSurroundingBlanks) {
    IniDocument doc = IniDocument::parse("  [ playSETTINGS ]  trailing\n  playtime = 30  \n");
    EXPECT_EQ(valueOr(doc, "PlaySettings", "PlayTime"), "30");
    ASSERT_TRUE(doc.set("PLAYSETTINGS", "PLAYTIME", "45"));
    EXPECT_EQ(doc.text(), "  [ playSETTINGS ]  trailing\nplaytime=45\n");
}

TEST(IniDocument, KeysOutsideSectionsAndCommentsAreNotRead) {
    IniDocument doc = IniDocument::parse("top=1\n[S]\n;a=2\nno equals here\n=3\nb=4\n");
    EXPECT_FALSE(doc.value("S", "top"));
    EXPECT_FALSE(doc.value("S", ";a"));
    EXPECT_EQ(valueOr(doc, "S", "b"), "4");
}

TEST(IniDocument, ValuesAreCutTo4095BytesOnACharacterBoundary) {
    std::string ascii(5000, 'x');
    IniDocument doc = IniDocument::parse("[S]\nlong=" + ascii + "\n");
    EXPECT_EQ(valueOr(doc, "S", "long"), std::string(4095, 'x'));

    // 4094 bytes, then a three-byte character that would straddle the limit.
    std::string text = std::string(4094, 'a') + "\xE3\x81\x82" + "tail";
    doc = IniDocument::parse("[S]\nk=" + text + "\n");
    EXPECT_EQ(valueOr(doc, "S", "k"), std::string(4094, 'a'));
    // The full value stays in the file.
    EXPECT_NE(doc.text().find("tail"), std::string::npos);
}

TEST(IniDocument, ReplacesInPlaceAndKeepsEveryOtherLine) {
    const std::string before = "; my notes\n[A]\nx=1\nunknown line\ny=2\n\n[B]\nz=3\n";
    IniDocument doc = IniDocument::parse(before);
    ASSERT_TRUE(doc.set("A", "x", "10"));
    EXPECT_EQ(doc.text(), "; my notes\n[A]\nx=10\nunknown line\ny=2\n\n[B]\nz=3\n");
}

TEST(IniDocument, NewKeyGoesToTheEndOfItsSectionBeforeBlankLines) {
    IniDocument doc = IniDocument::parse("[A]\nx=1\n\n\n[B]\nz=3\n");
    ASSERT_TRUE(doc.set("A", "new", "v"));
    ASSERT_TRUE(doc.set("B", "w", "4"));
    EXPECT_EQ(doc.text(), "[A]\nx=1\nnew=v\n\n\n[B]\nz=3\nw=4\n");
}

TEST(IniDocument, NewSectionGoesToTheEndOfTheFile) {
    IniDocument doc;
    ASSERT_TRUE(doc.set("App", "ListType", "2"));
    ASSERT_TRUE(doc.set("FolderHistory", "Dir0", "/music"));
    ASSERT_TRUE(doc.set("App", "left", "-20"));
    EXPECT_EQ(doc.text(), "[App]\nListType=2\nleft=-20\n[FolderHistory]\nDir0=/music\n");
}

TEST(IniDocument, DuplicatesReadTheFirstAndWriteTheFirst) {
    const std::string text = "[S]\nk=first\nk=second\n[s]\nk=third\nonly2=x\n";
    IniDocument doc = IniDocument::parse(text);
    EXPECT_EQ(valueOr(doc, "S", "k"), "first");
    EXPECT_EQ(valueOr(doc, "S", "only2"), "x");  // a later occurrence still counts
    ASSERT_TRUE(doc.set("S", "k", "new"));
    ASSERT_TRUE(doc.set("S", "added", "1"));
    ASSERT_TRUE(doc.set("S", "only2", "y"));
    EXPECT_EQ(doc.text(), "[S]\nk=new\nk=second\nadded=1\n[s]\nk=third\nonly2=y\n");
}

TEST(IniDocument, KeepsLineEndsAndAddsTheFilesOwn) {
    IniDocument doc = IniDocument::parse("[S]\r\nk=1\r\nmixed=2\n");
    EXPECT_EQ(valueOr(doc, "S", "k"), "1");
    ASSERT_TRUE(doc.set("S", "k", "5"));
    ASSERT_TRUE(doc.set("S", "n", "6"));
    ASSERT_TRUE(doc.set("T", "m", "7"));
    EXPECT_EQ(doc.text(), "[S]\r\nk=5\r\nmixed=2\nn=6\r\n[T]\r\nm=7\r\n");
}

TEST(IniDocument, ALastLineWithoutLineEndGetsOneBeforeAnAppend) {
    IniDocument doc = IniDocument::parse("[S]\nk=1");
    EXPECT_EQ(valueOr(doc, "S", "k"), "1");
    ASSERT_TRUE(doc.set("S", "j", "2"));
    EXPECT_EQ(doc.text(), "[S]\nk=1\nj=2\n");

    doc = IniDocument::parse("[S]\nk=1");
    ASSERT_TRUE(doc.set("S", "k", "3"));
    EXPECT_EQ(doc.text(), "[S]\nk=3");  // replaced in place, still without a line end
    ASSERT_TRUE(doc.set("New", "a", "b"));
    EXPECT_EQ(doc.text(), "[S]\nk=3\n[New]\na=b\n");
}

TEST(IniDocument, DamagedContentIsReadWithoutHarmAndKept) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    const std::string megabyteLine(1 << 20, '[');
    const std::string nulValue("[S]\nk=ab\0cd\n", 12);
    const std::string text = garbage + "\n" + megabyteLine + "\n" + nulValue + "[S\n";

    IniDocument doc = IniDocument::parse(text);
    EXPECT_EQ(doc.text(), text);
    EXPECT_EQ(valueOr(doc, "S", "k"), "ab");
    ASSERT_TRUE(doc.set("S", "k", "fine"));
    ASSERT_TRUE(doc.set("S", "more", "1"));
    const std::string after = doc.text();
    EXPECT_EQ(after.substr(0, garbage.size() + 1 + megabyteLine.size() + 1),
              garbage + "\n" + megabyteLine + "\n");
    EXPECT_EQ(valueOr(doc, "S", "k"), "fine");
    EXPECT_EQ(valueOr(doc, "S", "more"), "1");
}

TEST(IniDocument, OnlyNulAndBinaryBytesParse) {
    const std::string zeros(1000, '\0');
    IniDocument doc = IniDocument::parse(zeros);
    EXPECT_FALSE(doc.value("S", "k"));
    ASSERT_TRUE(doc.set("S", "k", "v"));
    EXPECT_EQ(doc.text(), zeros + "\n[S]\nk=v\n");
}

TEST(IniDocument, EveryStorableValueReadsBackExactly) {
    const char* values[] = {
        "",      " leading",        "trailing ",       "\"quoted\"",          "'single'", "\"",
        "a=b=c", "[not a section]", "; not a comment", "日本語のパス|/x y/|", "\t"};
    IniDocument doc;
    for (const char* value : values) {
        ASSERT_TRUE(doc.set("S", "k", value)) << value;
        EXPECT_EQ(valueOr(doc, "S", "k"), value);
        EXPECT_EQ(valueOr(IniDocument::parse(doc.text()), "S", "k"), value);
    }
}

TEST(IniDocument, QuotesWrittenByHandAreRemoved) {
    IniDocument doc = IniDocument::parse("[S]\na=\"/my music\"\nb='x'\nc=\"half\n");
    EXPECT_EQ(valueOr(doc, "S", "a"), "/my music");
    EXPECT_EQ(valueOr(doc, "S", "b"), "x");
    EXPECT_EQ(valueOr(doc, "S", "c"), "\"half");
}

TEST(IniDocument, RefusesWhatTheFileCannotHold) {
    IniDocument doc = IniDocument::parse("[S]\nk=1\n");
    EXPECT_FALSE(doc.set("S", "k", "line\nbreak"));
    EXPECT_FALSE(doc.set("S", "k", "cr\rhere"));
    EXPECT_FALSE(doc.set("S", "k", std::string("nul\0x", 5)));
    EXPECT_FALSE(doc.set("S", "a=b", "1"));
    EXPECT_FALSE(doc.set("S", "", "1"));
    EXPECT_FALSE(doc.set("S", " k", "1"));
    EXPECT_FALSE(doc.set("S", ";k", "1"));
    EXPECT_FALSE(doc.set("S]", "k", "1"));
    EXPECT_FALSE(doc.set("", "k", "1"));
    EXPECT_FALSE(doc.set("S\n[T", "k", "1"));
    EXPECT_EQ(doc.text(), "[S]\nk=1\n");
}

}  // namespace
