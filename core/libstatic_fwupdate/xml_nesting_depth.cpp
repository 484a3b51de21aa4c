// A non-recursive walk over a document that mirrors rapidxml's reading with parse flags 0.
// Every rule below restates one of the parser's: its character classes, its order of tests and
// the places where it reports a parse error. The parser only ever writes behind its reading
// position, so reading the unmodified text takes the same road.
#include "core/libstatic_fwupdate/xml_nesting_depth.h"

#include <cstddef>

namespace quarx::core::fwupdate {
namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// rapidxml's element names: anything but white space, '/', '>', '?' and NUL.
bool IsNameChar(char c) { return c != '\0' && !IsWhiteSpace(c) && c != '/' && c != '>' && c != '?'; }

// rapidxml's attribute names additionally stop at '<', '=' and '!'.
bool IsAttributeNameChar(char c) { return IsNameChar(c) && c != '<' && c != '=' && c != '!'; }

class DepthWalk {
 public:
  explicit DepthWalk(std::string_view text) : text_(text) {}

  int Run(int limit) {
    if (Follows(0, "\xEF\xBB\xBF")) at_ = 3;
    int depth = 0;
    int deepest = 0;
    while (true) {
      SkipWhile(IsWhiteSpace);
      const char c = Here();
      if (c == '<' && depth > 0 && At(at_ + 1) == '/') {
        if (!ReadEndTag()) return deepest;
        --depth;
      } else if (c == '<') {
        ++at_;
        const Node node = ReadNode();
        if (node == Node::kError) return deepest;
        // An empty-element tag is a level of the tree too, though it opens no contents.
        if (node != Node::kSkipped && depth + 1 > deepest) {
          deepest = depth + 1;
          if (deepest > limit) return limit + 1;
        }
        if (node == Node::kOpened) ++depth;
      } else if (c == '\0' || depth == 0) {
        // End of the document, "unexpected end of data" or "expected <".
        return deepest;
      } else {
        // Character data runs to the next markup; references never step over a '<'.
        while (Here() != '<' && Here() != '\0') ++at_;
      }
    }
  }

 private:
  enum class Node { kError, kOpened, kEmptyElement, kSkipped };

  // The parser reads a NUL-terminated copy: past the end it sees NUL.
  char At(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }
  char Here() const { return At(at_); }

  bool Follows(std::size_t from, std::string_view word) const {
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (At(from + i) != word[i]) return false;
    }
    return true;
  }

  void SkipWhile(bool (*keep)(char)) {
    while (keep(Here())) ++at_;
  }

  // Past the first `end`; false at a NUL before it ("unexpected end of data").
  bool SkipPast(std::string_view end) {
    while (!Follows(at_, end)) {
      if (Here() == '\0') return false;
      ++at_;
    }
    at_ += end.size();
    return true;
  }

  // At "</": the name is skipped unchecked, then white space and '>'.
  bool ReadEndTag() {
    at_ += 2;
    SkipWhile(IsNameChar);
    SkipWhile(IsWhiteSpace);
    if (Here() != '>') return false;
    ++at_;
    return true;
  }

  // Just after '<' of anything but an end tag.
  Node ReadNode() {
    if (Here() == '?') {
      ++at_;
      // The declaration and other processing instructions are both skipped to "?>".
      if ((Here() == 'x' || Here() == 'X') && (At(at_ + 1) == 'm' || At(at_ + 1) == 'M') &&
          (At(at_ + 2) == 'l' || At(at_ + 2) == 'L') && IsWhiteSpace(At(at_ + 3))) {
        at_ += 4;
      }
      return SkipPast("?>") ? Node::kSkipped : Node::kError;
    }
    if (Here() == '!') {
      if (Follows(at_ + 1, "--")) {
        at_ += 3;
        return SkipPast("-->") ? Node::kSkipped : Node::kError;
      }
      if (Follows(at_ + 1, "[CDATA[")) {
        at_ += 8;
        return SkipPast("]]>") ? Node::kSkipped : Node::kError;
      }
      if (Follows(at_ + 1, "DOCTYPE") && IsWhiteSpace(At(at_ + 8))) {
        at_ += 9;
        return SkipDoctype();
      }
      // Any other "<!" markup ends at the first '>', brackets or quotes notwithstanding.
      ++at_;
      return SkipPast(">") ? Node::kSkipped : Node::kError;
    }
    return ReadStartTag();
  }

  Node SkipDoctype() {
    while (Here() != '>') {
      if (Here() == '\0') return Node::kError;
      if (Here() == '[') {
        ++at_;
        for (int brackets = 1; brackets > 0; ++at_) {
          if (Here() == '[') ++brackets;
          if (Here() == ']') --brackets;
          if (Here() == '\0') return Node::kError;
        }
      } else {
        ++at_;
      }
    }
    ++at_;
    return Node::kSkipped;
  }

  Node ReadStartTag() {
    const std::size_t name = at_;
    SkipWhile(IsNameChar);
    if (at_ == name) return Node::kError;
    SkipWhile(IsWhiteSpace);
    // Quotes count only as attribute value delimiters, right after '='.
    while (IsAttributeNameChar(Here())) {
      SkipWhile(IsAttributeNameChar);
      SkipWhile(IsWhiteSpace);
      if (Here() != '=') return Node::kError;
      ++at_;
      SkipWhile(IsWhiteSpace);
      const char quote = Here();
      if (quote != '\'' && quote != '"') return Node::kError;
      ++at_;
      while (Here() != quote && Here() != '\0') ++at_;
      if (Here() != quote) return Node::kError;
      ++at_;
      SkipWhile(IsWhiteSpace);
    }
    if (Here() == '>') {
      ++at_;
      return Node::kOpened;
    }
    if (Here() == '/' && At(at_ + 1) == '>') {
      at_ += 2;
      return Node::kEmptyElement;
    }
    return Node::kError;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

int XmlNestingDepth(std::string_view text, int limit) { return DepthWalk(text).Run(limit); }

}  // namespace quarx::core::fwupdate
