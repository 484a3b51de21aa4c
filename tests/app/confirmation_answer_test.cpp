// The answer to the confirmation question: words as `>>` reads them, an overlong one a wrong
// answer that is skipped without being kept, and an endless one no answer, read only so far.
#include "app/confirmation_answer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace fwupdate {
namespace {

// The answers read one after the other until there is none: a word as it is, "<overlong>".
std::vector<std::string> Answers(std::istream& in) {
  std::vector<std::string> answers;
  for (ConfirmationAnswer answer; (answer = ReadConfirmationAnswer(in)).kind != ConfirmationAnswer::Kind::kNone;) {
    answers.push_back(answer.kind == ConfirmationAnswer::Kind::kOverlong ? "<overlong>" : answer.word);
  }
  return answers;
}

TEST(ConfirmationAnswer, ReadsWordsWithACapAndTakesAnEndlessWordForNoAnswer) {
  const std::string longest(kMaxAnswerBytes, 'y');
  const struct {
    const char* name;
    std::string input;
    std::vector<std::string> answers;
  } kCases[] = {
      {"nothing", "", {}},
      {"blanks only", " \t\r\n\v\f", {}},
      {"words between blanks", "  yes\n\tY\r\nn", {"yes", "Y", "n"}},
      {"at the cap", longest + "\n", {longest}},
      {"one byte over, then an answer", longest + "y\nY\n", {"<overlong>", "Y"}},
      {"skipped to the limit", std::string(kMaxSkippedAnswerBytes, 'y') + " n", {"<overlong>", "n"}},
      {"one byte past the limit", std::string(kMaxSkippedAnswerBytes + 1, 'y') + " n", {}},
      {"bytes that are no blanks", std::string("\0\xff y", 4), {std::string("\0\xff", 2), "y"}},
      {"blank lines to the limit", std::string(kMaxSkippedAnswerBytes, '\n') + "y", {"y"}},
      {"blank lines past the limit", std::string(kMaxSkippedAnswerBytes + 1, '\n') + "y", {}},
  };
  for (const auto& c : kCases) {
    std::istringstream in(c.input);
    EXPECT_EQ(Answers(in), c.answers) << c.name;
  }
  // Zeros without end, as from /dev/zero: one byte past the limit is the last read.
  std::istringstream zeros(std::string(3 * kMaxSkippedAnswerBytes, '\0'));
  EXPECT_EQ(ReadConfirmationAnswer(zeros).kind, ConfirmationAnswer::Kind::kNone);
  EXPECT_EQ(zeros.tellg(), static_cast<std::streamoff>(kMaxSkippedAnswerBytes + 1));
}

}  // namespace
}  // namespace fwupdate
