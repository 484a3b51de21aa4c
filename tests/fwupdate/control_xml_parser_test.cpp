// The control XML reader: its text rules, the documents it reads despite their oddities, and
// every structural fault reaching callers as 4005 "Invalid control.xml" after the line that
// names the fault. Reading whole documents into updates is the package reader's test.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/libstatic_fwupdate/control_xml_parser.h"
#include "core/libstatic_fwupdate/exception_update.h"
#include "core/libstatic_fwupdate/guf_controlxml.h"
#include "tests/support/log_capture.h"

using namespace quarx;
using core::fwupdate::GufControlXml;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;
using ::testing::SizeIs;

namespace {

GufControlXml Parse(const std::string& xml) { return GufControlXml(xml.data(), xml.size()); }

std::string Root(const std::string& inner) { return "<GufRuleSet>" + inner + "</GufRuleSet>"; }

std::string Nested(int depth) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<a>";
  for (int i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

std::string Item(const std::string& element, const std::string& children) {
  return Root(R"(<Procedure Id="P"><)" + element + ">" + children + "</" + element + "></Procedure>");
}

}  // namespace

// Text is kept untrimmed with entities decoded; white space alone is empty; the first of
// namesakes stays; other elements and character data are passed over. The byte-order mark,
// declaration, comment and doctype before the root, and a later root after a NUL, are too.
TEST(ControlXmlParser, TextRulesNamesakesAndToleratedOddities) {
  const GufControlXml xml =
      Parse("\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><!DOCTYPE x [<!ENTITY e \"<q>\">]>" + Root(R"(
    <Update ProcedureId=' P '><Condition Feature="F">a&amp;b&#65;&#x42;&unknown;</Condition>
      <Condition Feature="G">   </Condition><Condition Feature="F">second</Condition>
      <Info><E Key="K">one</E><E Key="K">two</E></Info></Update>
    <update ProcedureId="x"/> text in the root <![CDATA[cdata in the root]]>
    <Procedure Id="P"><FeatureWrite><Description>  d  </Description><Value>  v  </Value>
      <FeatureName>
 N </FeatureName></FeatureWrite><Unknown/></Procedure><Procedure Id="P"></Procedure>)") +
            std::string(1, '\0') + Root(R"(<Update ProcedureId="Q"/>)"));
  const auto updates = xml.GetUpdates();
  ASSERT_THAT(updates, SizeIs(1));
  EXPECT_EQ(updates[0].GetProcedureId(), " P ");
  EXPECT_THAT(updates[0].GetConditions(), ElementsAre(Pair("F", "a&bAB&unknown;"), Pair("G", "")));
  EXPECT_THAT(updates[0].GetInfoEntries(), ElementsAre(Pair("K", "one")));
  const auto items = xml.GetProcedures().at("P").GetItems();
  ASSERT_THAT(items, SizeIs(1));
  const auto write = std::dynamic_pointer_cast<const core::fwupdate::control_xml::procedure::FeatureWrite>(items[0]);
  ASSERT_NE(write, nullptr);
  EXPECT_EQ(write->GetValue(), "  v  ");
  EXPECT_EQ(write->GetFeatureName(), "\n N ");
  EXPECT_EQ(write->GetDescription().GetValue(), "  d  ");
  EXPECT_EQ(write->GetDescription().GetLang(), "");
}

// A mismatched end tag is tolerated. GufRuleSet is level 1; markup that opens no element does
// not count.
TEST(ControlXmlParser, ReadsMismatchedEndTagsAndNestingUpToTheLimit) {
  for (const std::string& xml :
       {std::string(R"(<GufRuleSet><Update ProcedureId="A"></Wrong></GufRuleSet>)"),
        Root(R"(<Update ProcedureId="A"/>)" + Nested(core::fwupdate::ControlXmlParser::kMaxNestingDepth - 1) + "<!-- " +
             std::string(200, '<') + "a> -->" + "<x a='>' b=\"<y>\"/><![CDATA[" + Nested(100) + "]]>")}) {
    const auto updates = Parse(xml).GetUpdates();
    ASSERT_THAT(updates, SizeIs(1)) << xml;
    EXPECT_EQ(updates[0].GetProcedureId(), "A") << xml;
  }
}

// Each fault reaches callers as 4005 "Invalid control.xml" after one line naming it: the
// parser's own error, or the warning of the 4004 failure with its text.
TEST(ControlXmlParser, StructuralFaultsReachCallersAs4005AfterTheLineNamingThem) {
  const std::string description = R"(<Description Lang="en">d</Description>)";
  const std::string tooDeep = "Nested deeper than 64 levels";
  const std::pair<std::string, std::string> rows[] = {
      {R"(<GufRuleSet><Update ProcedureId="P">)", "[error] what(unexpected end of data) where()"},
      {"<gufruleset/>", "Invalid root nodename(gufruleset)"},
      {"<![CDATA[x]]><GufRuleSet/>", "Invalid root nodetype(3)"},
      {"<?xml version=\"1.0\"?>\n<!-- nothing -->\n ", "No root element"},
      {Root("<Update/>"), "Invalid Update element"},
      {Root(R"(<Update ProcedureId="P"><Condition>x</Condition></Update>)"), "//Update/Condition[@Feature]"},
      {Root("<Update ProcedureId=\"P\"><Info>  \n </Info></Update>"), "//Update/Info"},
      {Root(R"(<Update ProcedureId="P"><Info><E Key="a">1</E><E>2</E></Info></Update>)"), "//Update/Info[@Key]"},
      {Root(R"(<Update ProcedureId="P"><Info>text</Info></Update>)"), "//Update/Info[@Key]"},
      {Root("<Procedure/>"), "//Procedure[@Id]"},
      // The description is looked for first, the feature name last.
      {Item("FeatureAssert", "<AssertPattern>x</AssertPattern>"), "No Procedure::FeatureAssert::Description"},
      {Item("FeatureWrite", description + "<FeatureName>F</FeatureName>"), "//Procedure/FeatureWrite/Value"},
      {Item("FeatureExecute", description + "<FeatureName>F</FeatureName>"),
       "//Procedure/FeatureExecute/MaximumExecutionTimeoutMs"},
      {Item("FeatureAssert", description + "<FeatureName>F</FeatureName>"), "//Procedure/FeatureAssert/AssertPattern"},
      {Item("FeatureWrite", description + "<Value>v</Value>"), "No Procedure::Feature::FeatureName"},
      {Item("FileUpload", description + "<DeviceFileName>D</DeviceFileName>"), "No Procedure::FileUpload::FileName"},
      {Item("FileUpload", description + "<FileName>f</FileName>"), "No Procedure::FileUpload::DeviceFileName"},
      {Item("DeviceReset", description), "No Procedure::DeviceReset::DeviceDiscoveryDelayMs"},
      {Root(Nested(core::fwupdate::ControlXmlParser::kMaxNestingDepth)), tooDeep},
      // The parser takes a quote as part of a name, and ends other "<!" markup at the first
      // '>' whatever brackets it holds: neither may hide the levels behind it.
      {Root("<a\">" + Nested(100000)), tooDeep},
      {Root("<!x[>" + Nested(100000)), tooDeep},
  };
  for (const auto& [xml, line] : rows) {
    test::LogCapture log;
    try {
      Parse(xml);
      ADD_FAILURE() << line << ": no failure";
    } catch (const fwupdate::FWUpdateException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 4005) << line;
      EXPECT_STREQ(e.what(), "Invalid control.xml") << line;
    }
    const auto lines = log.Lines();
    ASSERT_THAT(lines, SizeIs(2)) << line;
    EXPECT_THAT(lines[0], HasSubstr(line[0] == '[' ? line : "err_code_detail(4004) msg(" + line + ")"));
    EXPECT_THAT(lines[1], HasSubstr("err_code_detail(4005) msg(Invalid control.xml)"));
  }
}
