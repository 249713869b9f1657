// The pelko-lha command line, run as a program, next to lhasa as an oracle.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "lzh_test_support.h"
#include "support/run_command.h"
#include "support/scoped_env.h"
#include "support/temp_folder.h"

namespace pelko::lzh {
namespace {

namespace fs = std::filesystem;
using pelko::test::RunCommand;
using pelko::test::ShellQuote;

class PelkoLha : public ::testing::Test {
 protected:
  pelko::test::CommandResult Lha(const std::string& arguments, const std::string& input = "") {
    const std::string tool = ShellQuote(std::string(PELKO_BIN_DIR) + "/pelko-lha");
    return RunCommand("cd " + ShellQuote(dir_.Path()) + " && printf %s " + ShellQuote(input) +
                      " | TZ=UTC " + tool + " " + arguments);
  }
  static std::string Fixture(const std::string& name) {
    return ShellQuote(test::FixturePath(name));
  }

  pelko::test::ScopedEnv driveC_{"PELKO_DRIVE_C", std::nullopt};  // C: is the host root
  pelko::test::TempFolder dir_{"pelko-lha-test"};
};

TEST_F(PelkoLha, ListShowsCp932NamesAsUtf8) {
  const auto r = Lha("l " + Fixture("lhaunix_h2_lh5_tree.lzh"));
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("tree\\ソフト\\表.txt"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("12 entries"), std::string::npos) << r.output;
}

TEST_F(PelkoLha, TestPassesEveryPeerArchive) {
  for (const char* name :
       {"lhaunix_h2_lh5_mixed.lzh", "jlha_h2_lh7_mixed.lzh", "lhaunix_h0_lh1_hello_mixed.lzh",
        "third_party/lhasa/larc333__lz5.lzh", "third_party/lhasa/lha_os2_208__h3_lh5.lzh"}) {
    const auto r = Lha("t " + Fixture(name));
    EXPECT_EQ(r.exitCode, 0) << name << "\n" << r.output;
  }
}

TEST_F(PelkoLha, EveryDamagedArchiveExitsNonZeroWithAMessage) {
  for (const char* name : {"damaged_truncated.lzh", "damaged_flipbyte.lzh", "damaged_badsum_h1.lzh",
                           "damaged_badcrc_h2.lzh"}) {
    const auto r = Lha(std::string("t ") + Fixture(name));
    EXPECT_EQ(r.exitCode, 1) << name << "\n" << r.output;
    const bool said = r.output.find("pelko-lha: broken archive") != std::string::npos ||
                      r.output.find("CRC error") != std::string::npos;
    EXPECT_TRUE(said) << name << "\n" << r.output;
  }
}

TEST_F(PelkoLha, ListingABrokenHeaderExitsNonZero) {
  for (const char* name :
       {"damaged_badsum_h1.lzh", "damaged_badcrc_h2.lzh", "damaged_truncated.lzh"}) {
    const auto r = Lha(std::string("l ") + Fixture(name));
    EXPECT_EQ(r.exitCode, 1) << name << "\n" << r.output;
  }
}

TEST_F(PelkoLha, ExtractsTheSameBytesAsLhasa) {
  for (const char* name :
       {"lhaunix_h2_lh7_mixed.lzh", "jlha_h2_lh6_mixed.lzh", "lhaunix_h0_lh1_hello_mixed.lzh"}) {
    fs::remove_all(dir_.Sub("ours"));
    fs::remove_all(dir_.Sub("lhasa"));
    const auto ours = Lha("x " + Fixture(name) + " -w ours");
    ASSERT_EQ(ours.exitCode, 0) << ours.output;
    fs::create_directories(dir_.Sub("lhasa"));
    const auto oracle =
        RunCommand("cd " + ShellQuote(dir_.Sub("lhasa")) + " && lhasa xq " + Fixture(name));
    ASSERT_EQ(oracle.exitCode, 0) << oracle.output;
    const auto diff =
        RunCommand("diff -r " + ShellQuote(dir_.Sub("ours")) + " " + ShellQuote(dir_.Sub("lhasa")));
    EXPECT_EQ(diff.exitCode, 0) << name << "\n" << diff.output;
  }
}

TEST_F(PelkoLha, HostileArchiveExitsNonZeroAndEscapesTheName) {
  const auto r = Lha("x " + Fixture("hostile/hostile_control_chars_h2.lzh") + " -w out");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.output.find('\x1b'), std::string::npos) << "raw escape reached the terminal";
  EXPECT_NE(r.output.find("\\x1B]0;owned\\x07.txt"), std::string::npos) << r.output;
  EXPECT_TRUE(fs::exists(dir_.Sub("out/good.txt")));
}

TEST_F(PelkoLha, TraversalArchiveWritesNothingBesideTheTarget) {
  const auto r = Lha("x " + Fixture("hostile/hostile_dotdot_h2.lzh") + " -w out");
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_FALSE(fs::exists(dir_.Sub("evil.txt")));
  EXPECT_TRUE(fs::exists(dir_.Sub("out/good.txt")));
}

TEST_F(PelkoLha, OverwriteQuestionAnsweredNoKeepsTheFile) {
  fs::create_directories(dir_.Sub("out"));
  pelko::test::WriteHostFile(dir_.Sub("out/mixed.bin"), "mine");
  const auto r = Lha("x " + Fixture("lhaunix_h2_lh5_mixed.lzh") + " -w out", "n\n");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("上書きしますか"), std::string::npos) << r.output;
  EXPECT_EQ(pelko::test::ReadHostFile(dir_.Sub("out/mixed.bin")), "mine");
  const auto forced = Lha("x " + Fixture("lhaunix_h2_lh5_mixed.lzh") + " -w out -f");
  EXPECT_EQ(forced.exitCode, 0) << forced.output;
  EXPECT_EQ(pelko::test::ReadHostFile(dir_.Sub("out/mixed.bin")).size(), 100000u);
}

TEST_F(PelkoLha, IgnoringBrokenHeadersStillExitsNonZero) {
  const auto r = Lha("x " + Fixture("damaged_badsum_h1.lzh") + " -w out -i");
  EXPECT_EQ(r.exitCode, 1) << r.output;
  EXPECT_TRUE(fs::exists(dir_.Sub("out/tree/a/x.txt"))) << r.output;
}

TEST_F(PelkoLha, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Lha("").exitCode, 2);
  EXPECT_EQ(Lha("z foo.lzh").exitCode, 2);
  EXPECT_EQ(Lha("l").exitCode, 2);
}

TEST_F(PelkoLha, MissingArchiveIsAClearError) {
  const auto r = Lha("l no-such.lzh");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.output.find("no-such.lzh"), std::string::npos) << r.output;
}

}  // namespace
}  // namespace pelko::lzh
