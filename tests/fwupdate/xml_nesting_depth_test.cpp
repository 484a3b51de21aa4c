// The nesting walk against the XML parser itself: on documents mixing every construct the
// parser knows, the walk must find exactly the depth of the tree the parser builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <rapidxml/rapidxml.hpp>

#include "core/libstatic_fwupdate/xml_nesting_depth.h"

using quarx::core::fwupdate::XmlNestingDepth;

namespace {

int TreeDepth(const rapidxml::xml_node<char>* node) {
  int deepest = 0;
  for (const auto* child = node->first_node(); child != nullptr; child = child->next_sibling()) {
    if (child->type() == rapidxml::node_element) deepest = std::max(deepest, 1 + TreeDepth(child));
  }
  return deepest;
}

}  // namespace

TEST(XmlNestingDepth, AgreesWithTheParsersTreeOnMixedConstructs) {
  // Fragments chosen so that quotes, brackets, '>' and '/' land inside and outside every construct.
  const std::vector<std::string> fragments = {
      "<a>", "<a>", "<b x='1'>", "<c y=\"/>\">", "</a>", "</b >", "</a>", "<d/>", "<e z='>' />",
      "<a\">", "<a'>", "\"", "'", ">", "/>", "[", "]", "]]>", "-->", "?>", "<!--", "<![CDATA[",
      "<!DOCTYPE r [", "<!DOCTYPE r>", "<!x[>", "<!-x>", "<?pi", "<?xml ", "text", " ", "&#65;",
      "&amp;", "&#x110000;", "<", "=", "<a b=c>", "\xEF\xBB\xBF", std::string(1, '\0')};
  std::mt19937 random(20240611);
  int parsed = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string document = "<r>";
    const int count = 1 + static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) document += fragments[random() % fragments.size()];
    document += "</r>";
    std::vector<char> text(document.begin(), document.end());
    text.push_back('\0');
    rapidxml::xml_document<char> tree;
    try {
      tree.parse<0>(text.data());
    } catch (const rapidxml::parse_error&) {
      continue;  // the depth reached before the error is not visible in a tree
    }
    ++parsed;
    ASSERT_EQ(XmlNestingDepth(document, 1000), TreeDepth(&tree)) << document;
  }
  EXPECT_GT(parsed, 2000);  // the comparison must have had real material
}
