#pragma once
// How deep the XML parser will nest elements in a document, found without recursing.

#include <string_view>

namespace quarx::core::fwupdate {

// The deepest element level (the root element is level 1) that rapidxml (parse flags 0) reaches
// while it reads `text`.
// It follows the parser's own reading of every construct (names, attributes and their quotes,
// comments, CDATA, processing instructions, DOCTYPE, other "<!" markup, character data), so a
// document cannot hide depth from it. It stops where the parser certainly gives up (the parser's
// recursion ends there too) and once `limit` is exceeded, then returning limit + 1.
// Where the parser's reading could end early (a bad character reference), the walk goes on,
// so the result is never below the depth the parser reaches.
int XmlNestingDepth(std::string_view text, int limit);

}  // namespace quarx::core::fwupdate
