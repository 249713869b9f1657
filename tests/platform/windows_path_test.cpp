#include "platform/windows_path.h"

#include <gtest/gtest.h>

#include "text/code_page.h"
#include "text/win_error.h"

namespace pelko::win {
namespace {

using Components = std::vector<std::string>;

std::string Cp(std::string_view utf8) { return cp932::FromUtf8Literal(utf8); }

TEST(ParseWindowsPath, SplitsComponentsAndUpperCasesTheDrive) {
  auto path = ParseWindowsPath("c:\\Data\\memo.TXT");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->drive, 'C');
  EXPECT_EQ(path->components, (Components{"Data", "memo.TXT"}));
}

TEST(ParseWindowsPath, RootsHaveNoComponents) {
  for (const char* root : {"A:\\", "a:", "Z:/"}) {
    auto path = ParseWindowsPath(root);
    ASSERT_TRUE(path) << root;
    EXPECT_TRUE(path->components.empty()) << root;
  }
}

TEST(ParseWindowsPath, TrailByteBackslashDoesNotSplit) {
  auto path = ParseWindowsPath(Cp("C:\\表\\ソフト\\b"));
  ASSERT_TRUE(path);
  EXPECT_EQ(path->components, (Components{Cp("表"), Cp("ソフト"), "b"}));
}

TEST(ParseWindowsPath, SlashesDotsAndDoubleSeparatorsAreResolved) {
  auto path = ParseWindowsPath("C:/a//b\\.\\c\\..\\d\\");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->components, (Components{"a", "b", "d"}));
}

TEST(ParseWindowsPath, DotDotNeverClimbsAboveTheRoot) {
  auto path = ParseWindowsPath("C:\\..\\..\\etc");
  ASSERT_TRUE(path);
  EXPECT_EQ(path->components, (Components{"etc"}));
}

TEST(ParseWindowsPath, RelativeUncAndEmptyPathsFail) {
  for (const char* bad : {"", "memo.txt", "\\\\server\\share\\x", "\\data", "1:\\x"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(ParseWindowsPath(bad)) << bad;
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND) << bad;
  }
}

TEST(ParseWindowsPath, DriveRelativeFormAndForbiddenCharactersAreInvalidNames) {
  for (const char* bad : {"C:data", "C:\\a*b", "C:\\a?", "C:\\x\\a:b", "C:\\\"q\"", "C:\\a<b>",
                          "C:\\a|b", "C:\\tab\there"}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(ParseWindowsPath(bad)) << bad;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME) << bad;
  }
}

TEST(FormatWindowsPath, RootAndNestedPaths) {
  EXPECT_EQ(FormatWindowsPath({'A', {}}), "A:\\");
  EXPECT_EQ(FormatWindowsPath({'C', {"a", Cp("表")}}), Cp("C:\\a\\表"));
}

}  // namespace
}  // namespace pelko::win
