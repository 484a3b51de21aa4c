#pragma once
// The answer to the confirmation question: one white-space-delimited word, read with a cap, so
// that an input nobody types (a file of zeros, a runaway pipe) cannot grow the tool's memory.

#include <cstddef>
#include <istream>
#include <string>

namespace fwupdate {

// A word longer than this is no answer the question offers: a wrong answer.
constexpr std::size_t kMaxAnswerBytes = 256;
// A word, or a run of blanks before it, longer than this was typed by nobody: the input is not
// someone answering.
constexpr std::size_t kMaxSkippedAnswerBytes = 64 * 1024;

struct ConfirmationAnswer {
  enum class Kind {
    kWord,      // `word` holds it
    kOverlong,  // longer than kMaxAnswerBytes; not kept
    kNone,      // end of input, a read error, or a word or blanks longer than kMaxSkippedAnswerBytes
  };
  Kind kind = Kind::kNone;
  std::string word;
};

// Skips white space, then reads one word and the blank that ends it. Never stores more than
// kMaxAnswerBytes and never reads more than kMaxSkippedAnswerBytes of blanks or of one word.
ConfirmationAnswer ReadConfirmationAnswer(std::istream& in);

}  // namespace fwupdate
