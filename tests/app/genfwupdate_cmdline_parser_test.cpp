// Parser tests: which operation and options a command line yields, and the exact error texts.
#include "app/genfwupdate_cmdline_parser.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/app/expected_help.h"

namespace fwupdate {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

// Owns writable copies of the arguments, as the process would hand them over.
class Args {
 public:
  explicit Args(const std::vector<std::string>& words) : words_(words) {
    for (auto& word : words_) {
      pointers_.push_back(word.data());
    }
    pointers_.push_back(nullptr);
  }
  int Count() const { return static_cast<int>(words_.size()); }
  char** Vector() { return pointers_.data(); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> pointers_;
};

struct Parsed {
  bool valid;
  std::string printed;
  std::string error;
  std::vector<GenicamFWUpdateCmd> cmd;
};

Parsed Parse(const std::vector<std::string>& words) {
  Args args(words);
  CaptureStdout();
  GenicamFWupdateCmdlineParser parser(args.Count(), args.Vector());
  Parsed parsed{parser.IsValid(), GetCapturedStdout(), "", {}};
  try {
    parsed.cmd.push_back(parser.GetOperationCmd());
  } catch (const ExceptionCmdParse& e) {
    parsed.error = e.what();
  }
  return parsed;
}

struct ValidCase {
  std::vector<std::string> args;
  Operation operation;
  std::string param;
  OptionList options;
};

std::string Joined(const std::vector<std::string>& args) {
  std::string text;
  for (const auto& arg : args) {
    text += " '" + arg + "'";
  }
  return text;
}

void PrintTo(const ValidCase& c, std::ostream* os) { *os << "args" << Joined(c.args); }

class ParserAccepts : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ParserAccepts, YieldsOneCommandWithItsOptionsInStepOrder) {
  const ValidCase& c = GetParam();
  std::vector<std::string> words{"fwupdate"};
  words.insert(words.end(), c.args.begin(), c.args.end());
  const Parsed parsed = Parse(words);
  ASSERT_TRUE(parsed.valid) << parsed.error;
  EXPECT_EQ(parsed.printed, "");
  ASSERT_EQ(parsed.cmd.size(), 1u);
  EXPECT_EQ(parsed.cmd[0].GetOperation(), c.operation);
  EXPECT_EQ(parsed.cmd[0].GetParam(), c.param);
  EXPECT_EQ(parsed.cmd[0].GetOptions(), c.options);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParserAccepts,
    ::testing::Values(
        ValidCase{{}, Operation::Help, "", {}}, ValidCase{{"-h"}, Operation::Help, "", {}},
        ValidCase{{"--help"}, Operation::Help, "", {}}, ValidCase{{"-l"}, Operation::DeviceList, "", {}},
        ValidCase{{"--device-list"}, Operation::DeviceList, "", {}},
        ValidCase{{"-l", "--timeout", "500"}, Operation::DeviceList, "", {{Option::TimeoutMs, "500"}}},
        // Options an operation does not use are still accepted; entries follow the step order, not the line.
        ValidCase{{"-l", "-d", "3", "--silent", "--no-prompt"},
                  Operation::DeviceList,
                  "",
                  {{Option::Device, "3"}, {Option::NoPrompt, ""}, {Option::Silent, ""}}},
        ValidCase{{"-u", "pkg.guf", "-d", "1", "-d", "2"},
                  Operation::Update,
                  "pkg.guf",
                  {{Option::Device, "1"}, {Option::Device, "2"}}},
        // Options are taken out before the operation, so they may stand between it and its file.
        ValidCase{{"-u", "-d", "1", "pkg.guf"}, Operation::Update, "pkg.guf", {{Option::Device, "1"}}},
        ValidCase{{"--update", "dir/my pkg.guf", "--no-prompt", "--silent"},
                  Operation::Update,
                  "dir/my pkg.guf",
                  {{Option::NoPrompt, ""}, {Option::Silent, ""}}},
        ValidCase{{"--timeout", "12abc", "-f", "pkg.guf", "--no-test"},
                  Operation::FileInfo,
                  "pkg.guf",
                  {{Option::NoTest, ""}, {Option::TimeoutMs, "12abc"}}},
        ValidCase{{"--file-info", "pkg.guf"}, Operation::FileInfo, "pkg.guf", {}},
        // The device number stays text here; converting it is the operation's business.
        ValidCase{{"-d", "abc", "-u", "p"}, Operation::Update, "p", {{Option::Device, "abc"}}},
        ValidCase{{"-d", "99999999999", "-u", "p"}, Operation::Update, "p", {{Option::Device, "99999999999"}}},
        ValidCase{{"-d", "", "-l"}, Operation::DeviceList, "", {{Option::Device, ""}}},
        ValidCase{{"--timeout", "+7", "-l"}, Operation::DeviceList, "", {{Option::TimeoutMs, "+7"}}}));

struct InvalidCase {
  std::vector<std::string> args;
  std::string error;
  bool printedByParser;
};

void PrintTo(const InvalidCase& c, std::ostream* os) { *os << "args" << Joined(c.args); }

class ParserRejects : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(ParserRejects, KeepsTheErrorAndPrintsItOnlyForAFailedStep) {
  const InvalidCase& c = GetParam();
  std::vector<std::string> words{"fwupdate"};
  words.insert(words.end(), c.args.begin(), c.args.end());
  const Parsed parsed = Parse(words);
  EXPECT_FALSE(parsed.valid);
  EXPECT_TRUE(parsed.cmd.empty());
  EXPECT_EQ(parsed.error, c.error);
  EXPECT_EQ(parsed.printed, c.printedByParser ? "Error : " + c.error : "");
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParserRejects,
    ::testing::Values(
        InvalidCase{{"-h", "extra"}, "Operation(--help) Invalid argument: extra", true},
        // The device list step runs first, so it names itself even when -u came first.
        InvalidCase{{"-u", "pkg", "-l"}, "Operation(--device-list) Invalid argument: -u, pkg", true},
        InvalidCase{{"-f", "pkg", "-u", "pkg2"}, "Operation(--update) Invalid argument: -f, pkg", true},
        InvalidCase{{"-l", "-l"}, "Operation(--device-list) Invalid argument: -l", true},
        InvalidCase{{"foo", "-l"}, "Operation(--device-list) Invalid argument: foo", true},
        InvalidCase{{"-u", "--silent"}, "The update operation must set guf filename.", true},
        InvalidCase{{"-u"}, "The update operation must set guf filename.", true},
        InvalidCase{{"-u", "-x"}, "The update operation must set guf filename.", true},
        InvalidCase{{"-f"}, "The file info operation must set guf filename.", true},
        InvalidCase{{"--file-info", "--bad"}, "The file info operation must set guf filename.", true},
        InvalidCase{{"-d", "-u", "pkg"}, "The device option must set devNo.", true},
        InvalidCase{{"-l", "-d"}, "The device option must set devNo.", true},
        InvalidCase{{"-l", "--device", "-1"}, "The device option must set devNo.", true},
        InvalidCase{{"-l", "--timeout"}, "The timeout option must set millisec.", true},
        InvalidCase{{"-l", "--timeout", "abc"}, "Invalid timeout value: abc", true},
        InvalidCase{{"-l", "--timeout", ""}, "Invalid timeout value: ", true},
        InvalidCase{{"-l", "--timeout", "-5"}, "The timeout option must set millisec.", true},
        InvalidCase{{"-l", "--timeout", "99999999999"}, "stoi", true},
        // Leftovers without any operation: the parser prints nothing itself.
        InvalidCase{{"foo"}, "Invalid arguments: foo", false},
        InvalidCase{{"foo", "bar"}, "Invalid arguments: foo, bar", false},
        InvalidCase{{"--log", "x.log"}, "Invalid arguments: --log, x.log", false},
        InvalidCase{{"--log-level", "debug"}, "Invalid arguments: --log-level, debug", false},
        // Options alone name no operation; nothing is left over, so every argument is named.
        InvalidCase{{"--no-prompt"}, "Invalid arguments: --no-prompt", false},
        InvalidCase{{"-d", "3", "--silent"}, "Invalid arguments: -d, 3, --silent", false},
        InvalidCase{{"--no-test", "foo"}, "Invalid arguments: foo", false}));

TEST(GenicamFWupdateCmdlineParser, HelpTextIsExactAndUsesTheProgramNameUnchanged) {
  Args args({"./bin/fw update"});
  GenicamFWupdateCmdlineParser parser(args.Count(), args.Vector());
  CaptureStdout();
  parser.DisplayHelp();
  EXPECT_EQ(GetCapturedStdout(), test::ExpectedHelp("./bin/fw update"));
}

TEST(GenicamFWupdateCmdlineParser, WithoutProgramNameGivesHelpCallingTheProgramFwupdate) {
  char* noArgs[] = {nullptr};
  char empty[] = "";
  char* emptyName[] = {empty, nullptr};
  for (auto [argc, argv] : {std::pair<int, char**>{0, noArgs}, {1, emptyName}}) {
    GenicamFWupdateCmdlineParser parser(argc, argv);
    ASSERT_TRUE(parser.IsValid());
    EXPECT_EQ(parser.GetOperationCmd().GetOperation(), Operation::Help);
    CaptureStdout();
    parser.DisplayHelp();
    EXPECT_EQ(GetCapturedStdout(), test::ExpectedHelp("fwupdate"));
  }
}

}  // namespace
}  // namespace fwupdate
