// Stored names: DBCS-aware splitting, the safety verdicts, display escaping
// and name selection.
#include "lzh/archive/path_names.h"

#include <gtest/gtest.h>

#include "lzh/archive/entry_path.h"
#include "lzh/archive/extractor.h"

namespace pelko::lzh {
namespace {

TEST(SplitStoredPath, SecondByteOfDoubleByteCharacterIsNotASeparator) {
  EXPECT_EQ(SplitStoredPath("\x95\x5c.txt"), std::vector<std::string>{"\x95\x5c.txt"});
  EXPECT_EQ(SplitStoredPath("\x83\x5c\x83t\x83g\\\x95\x5c.txt"),
            (std::vector<std::string>{"\x83\x5c\x83t\x83g", "\x95\x5c.txt"}));
}

TEST(SplitStoredPath, AllThreeSeparatorsDivide) {
  EXPECT_EQ(SplitStoredPath("a\\b/c\xff"
                            "d"),
            (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(SplitStoredPath, EmptyComponentsAreKept) {
  EXPECT_EQ(SplitStoredPath("\\a\\\\b\\"), (std::vector<std::string>{"", "a", "", "b", ""}));
}

TEST(SplitStoredPath, LeadByteBeforeASeparatorThatIsNoTrailByteStillSplits) {
  // 0x95 followed by 0xFF is no character: the 0xFF divides.
  EXPECT_EQ(SplitStoredPath("\x95\xff"
                            "b"),
            (std::vector<std::string>{"\x95", "b"}));
}

TEST(NormaliseSeparators, KeepsTrailBytes) {
  EXPECT_EQ(NormaliseSeparators("tree\xff\x83\x5c\x83t\x83g\xff\x95\x5c.txt"),
            "tree\\\x83\x5c\x83t\x83g\\\x95\x5c.txt");
}

TEST(EscapeForDisplay, ControlCharactersBecomeHex) {
  EXPECT_EQ(EscapeForDisplay("\x1b]0;x\x07.txt"), "\\x1B]0;x\\x07.txt");
  EXPECT_EQ(EscapeForDisplay("a\x7f"
                             "b"),
            "a\\x7Fb");
}

TEST(EscapeForDisplay, DoubleByteAndKatakanaPassUnchanged) {
  EXPECT_EQ(EscapeForDisplay("\x95\x5c.txt \xb1\xb2"), "\x95\x5c.txt \xb1\xb2");
}

TEST(EscapeForDisplay, LoneLeadByteIsEscaped) { EXPECT_EQ(EscapeForDisplay("a\x95"), "a\\x95"); }

TEST(CheckEntryPath, OrdinaryRelativeNamesAreSafe) {
  const CheckedPath p = CheckEntryPath("tree\\\x83\x5c\x83t\x83g\\\x95\x5c.txt");
  EXPECT_EQ(p.verdict, PathVerdict::Safe);
  EXPECT_EQ(p.components.size(), 3u);
  EXPECT_EQ(CheckEntryPath("..a\\b..").verdict, PathVerdict::Safe);
}

TEST(CheckEntryPath, EveryWayOutOfTheTargetIsRefused) {
  EXPECT_EQ(CheckEntryPath("").verdict, PathVerdict::Empty);
  EXPECT_EQ(CheckEntryPath("\\tmp\\x").verdict, PathVerdict::Absolute);
  EXPECT_EQ(CheckEntryPath("/tmp/x").verdict, PathVerdict::Absolute);
  EXPECT_EQ(CheckEntryPath("C:x").verdict, PathVerdict::DriveLetter);
  EXPECT_EQ(CheckEntryPath("C:\\x").verdict, PathVerdict::DriveLetter);
  EXPECT_EQ(CheckEntryPath("a\\..\\..\\x").verdict, PathVerdict::ParentReference);
  EXPECT_EQ(CheckEntryPath("..").verdict, PathVerdict::ParentReference);
  EXPECT_EQ(CheckEntryPath("a\\.\\x").verdict, PathVerdict::DotName);
  EXPECT_EQ(CheckEntryPath("...\\x").verdict, PathVerdict::DotName);
  EXPECT_EQ(CheckEntryPath("a\\\\x").verdict, PathVerdict::EmptyComponent);
  EXPECT_EQ(CheckEntryPath("a\\").verdict, PathVerdict::EmptyComponent);
  EXPECT_EQ(CheckEntryPath("a\x01"
                           "b")
                .verdict,
            PathVerdict::ForbiddenCharacter);
  EXPECT_EQ(CheckEntryPath("link|/etc/passwd").verdict, PathVerdict::ForbiddenCharacter);
  EXPECT_EQ(CheckEntryPath("link|target").verdict, PathVerdict::ForbiddenCharacter);
}

TEST(SelectionMatches, NameSelectsItselfAndEverythingBelow) {
  EXPECT_TRUE(SelectionMatches("tree", "tree"));
  EXPECT_TRUE(SelectionMatches("tree", "tree\\a\\x.txt"));
  EXPECT_TRUE(SelectionMatches("tree\\", "tree\\a"));
  EXPECT_TRUE(SelectionMatches("TREE/A", "tree\\a\\x.txt"));
  EXPECT_FALSE(SelectionMatches("tre", "tree\\a"));
  EXPECT_FALSE(SelectionMatches("tree\\a\\x.txt", "tree\\a"));
}

TEST(SelectionMatches, LeadByteAloneDoesNotSelectADoubleByteName) {
  // "\x95" + '\' would be a byte prefix of 表.txt (95 5C ...).
  EXPECT_FALSE(SelectionMatches("\x95", "\x95\x5c.txt"));
  EXPECT_TRUE(SelectionMatches("\x95\x5c.txt", "\x95\x5c.txt"));
}

}  // namespace
}  // namespace pelko::lzh
