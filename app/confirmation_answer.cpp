// Byte by byte, because `std::cin >> word` grows the word for as long as the input lasts.
#include "app/confirmation_answer.h"

#include <cctype>
#include <string>

namespace fwupdate {
namespace {

using Traits = std::istream::traits_type;

// The blanks `>>` stops at in the classic locale.
bool IsBlank(Traits::int_type c) { return std::isspace(c) != 0; }

}  // namespace

ConfirmationAnswer ReadConfirmationAnswer(std::istream& in) {
  // Blank lines without end (`yes '' |`) are nobody answering either.
  std::size_t blanks = 0;
  Traits::int_type c = in.get();
  while (c != Traits::eof() && IsBlank(c)) {
    if (++blanks > kMaxSkippedAnswerBytes) {
      return {};
    }
    c = in.get();
  }
  ConfirmationAnswer answer;
  std::size_t length = 0;
  for (; c != Traits::eof() && !IsBlank(c); c = in.get()) {
    if (++length > kMaxSkippedAnswerBytes) {
      return {};
    }
    if (length <= kMaxAnswerBytes) {
      answer.word.push_back(Traits::to_char_type(c));
    }
  }
  if (length == 0) {
    return {};
  }
  if (length > kMaxAnswerBytes) {
    answer.word.clear();
    answer.kind = ConfirmationAnswer::Kind::kOverlong;
  } else {
    answer.kind = ConfirmationAnswer::Kind::kWord;
  }
  return answer;
}

}  // namespace fwupdate
