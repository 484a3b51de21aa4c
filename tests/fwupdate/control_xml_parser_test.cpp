// The control XML reader: the format's records, its text rules, and every structural fault
// reaching callers as 4005 "Invalid control.xml" after the warning line of its own failure.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "core/libstatic_fwupdate/control_xml_parser.h"
#include "core/libstatic_fwupdate/exception_update.h"
#include "core/libstatic_fwupdate/guf_controlxml.h"
#include "tests/support/log_capture.h"

using namespace quarx;
using core::fwupdate::GufControlXml;
namespace control_xml = core::fwupdate::control_xml;
namespace procedure = control_xml::procedure;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::Pair;
using ::testing::SizeIs;
using ::testing::StartsWith;

namespace {

GufControlXml Parse(const std::string& xml) { return GufControlXml(xml.data(), xml.size()); }

std::string Root(const std::string& inner) { return "<GufRuleSet>" + inner + "</GufRuleSet>"; }

std::string Nested(int depth) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<a>";
  for (int i = 0; i < depth; ++i) xml += "</a>";
  return xml;
}

template <class T>
std::shared_ptr<const T> As(const std::shared_ptr<procedure::Item>& item) {
  auto typed = std::dynamic_pointer_cast<const T>(item);
  EXPECT_NE(typed, nullptr);
  return typed;
}

const char* const kFullDocument = R"(<?xml version="1.0" encoding="UTF-8"?>
<GufRuleSet>
  <Update ProcedureId="P1">
    <Condition Feature="DeviceModelName">VM-.*</Condition>
    <Info>
      <Entry Key="Version">2.0.0</Entry>
      <Other Key="Description">New firmware</Other>
    </Info>
  </Update>
  <Procedure Id="P1">
    <FeatureWrite><Description Lang="en">Prepare</Description><Value>1</Value><FeatureName>Mode</FeatureName></FeatureWrite>
    <FeatureExecute><Description Lang="en">Install</Description><MaximumExecutionTimeoutMs>30000</MaximumExecutionTimeoutMs><FeatureName>Install</FeatureName></FeatureExecute>
    <FileUpload><Description Lang="de">Laden</Description><FileName>fw.bin</FileName><DeviceFileName>Firmware</DeviceFileName></FileUpload>
    <FeatureAssert><Description Lang="en">Check</Description><AssertPattern>2\.0\.0</AssertPattern><FeatureName>DeviceVersion</FeatureName></FeatureAssert>
    <DeviceReset><Description Lang="en">Reset</Description><DeviceDiscoveryDelayMs>5000</DeviceDiscoveryDelayMs></DeviceReset>
  </Procedure>
  <Update ProcedureId="P2"/>
</GufRuleSet>
)";

}  // namespace

TEST(ControlXmlParser, ReadsUpdatesAndTypedItemsInDocumentOrder) {
  const GufControlXml xml = Parse(kFullDocument);
  const auto updates = xml.GetUpdates();
  ASSERT_THAT(updates, SizeIs(2));
  EXPECT_EQ(updates[0].GetProcedureId(), "P1");
  EXPECT_THAT(updates[0].GetConditions(), ElementsAre(Pair("DeviceModelName", "VM-.*")));
  EXPECT_THAT(updates[0].GetInfoEntries(), ElementsAre(Pair("Description", "New firmware"), Pair("Version", "2.0.0")));
  EXPECT_EQ(updates[1].GetProcedureId(), "P2");
  EXPECT_TRUE(updates[1].GetConditions().empty());
  EXPECT_TRUE(updates[1].GetInfoEntries().empty());

  const auto procedures = xml.GetProcedures();
  ASSERT_EQ(procedures.count("P1"), 1u);
  const auto items = procedures.at("P1").GetItems();
  ASSERT_THAT(items, SizeIs(5));
  const auto write = As<procedure::FeatureWrite>(items[0]);
  EXPECT_EQ(write->GetProcedureType(), procedure::ProcedureType::FeatureWrite);
  EXPECT_EQ(write->GetFeatureName(), "Mode");
  EXPECT_EQ(write->GetValue(), "1");
  EXPECT_EQ(write->GetDescription().GetValue(), "Prepare");
  EXPECT_EQ(write->GetDescription().GetLang(), "en");
  const auto execute = As<procedure::FeatureExecute>(items[1]);
  EXPECT_EQ(execute->GetMaximumExecutionTimeoutMs(), "30000");
  EXPECT_EQ(execute->GetFeatureName(), "Install");
  const auto upload = As<procedure::FileUpload>(items[2]);
  EXPECT_EQ(upload->GetFileName(), "fw.bin");
  EXPECT_EQ(upload->GetDeviceFileName(), "Firmware");
  EXPECT_EQ(upload->GetDescription().GetLang(), "de");
  const auto check = As<procedure::FeatureAssert>(items[3]);
  EXPECT_EQ(check->GetAssertPattern(), "2\\.0\\.0");
  EXPECT_EQ(check->GetFeatureName(), "DeviceVersion");
  const auto reset = As<procedure::DeviceReset>(items[4]);
  EXPECT_EQ(reset->GetDeviceDiscoveryDelayMs(), "5000");
  EXPECT_EQ(reset->GetProcedureType(), procedure::ProcedureType::DeviceReset);
}

TEST(ControlXmlParser, KeepsTextUntrimmedAndDecodesEntitiesButWhiteSpaceAloneIsEmpty) {
  const GufControlXml xml = Parse(Root(R"(
    <Update ProcedureId=' P '><Condition Feature="F">a&amp;b&#65;&#x42;&unknown;</Condition>
      <Condition Feature="G">   </Condition></Update>
    <Procedure Id="P"><FeatureWrite><Description Lang="en">  d  </Description><Value>  v  </Value>
      <FeatureName>
 N </FeatureName></FeatureWrite></Procedure>)"));
  EXPECT_EQ(xml.GetUpdates()[0].GetProcedureId(), " P ");
  EXPECT_THAT(xml.GetUpdates()[0].GetConditions(), ElementsAre(Pair("F", "a&bAB&unknown;"), Pair("G", "")));
  const auto write = As<procedure::FeatureWrite>(xml.GetProcedures().at("P").GetItems()[0]);
  EXPECT_EQ(write->GetValue(), "  v  ");
  EXPECT_EQ(write->GetFeatureName(), "\n N ");
  EXPECT_EQ(write->GetDescription().GetValue(), "  d  ");
}

TEST(ControlXmlParser, FirstOfDuplicateConditionsEntriesAndProceduresStays) {
  const GufControlXml xml = Parse(Root(R"(
    <Update ProcedureId="P">
      <Condition Feature="F">first</Condition><Condition Feature="F">second</Condition>
      <Info><E Key="K">one</E><E Key="K">two</E></Info>
    </Update>
    <Update ProcedureId="P"/>
    <Procedure Id="P"><DeviceReset><Description Lang="en">x</Description><DeviceDiscoveryDelayMs>1</DeviceDiscoveryDelayMs></DeviceReset></Procedure>
    <Procedure Id="P"></Procedure>)"));
  const auto updates = xml.GetUpdates();
  ASSERT_THAT(updates, SizeIs(2));
  EXPECT_THAT(updates[0].GetConditions(), ElementsAre(Pair("F", "first")));
  EXPECT_THAT(updates[0].GetInfoEntries(), ElementsAre(Pair("K", "one")));
  EXPECT_EQ(updates[1].GetProcedureId(), "P");
  EXPECT_THAT(xml.GetProcedures().at("P").GetItems(), SizeIs(1));
}

TEST(ControlXmlParser, PassesOverUnknownElementsAndKeepsItemOrder) {
  const GufControlXml xml = Parse(Root(R"(
    <update ProcedureId="x"/>
    text directly in the root
    <![CDATA[cdata in the root]]>
    <Procedure Id="P">
      <DeviceReset><Description Lang="en">1</Description><DeviceDiscoveryDelayMs>1</DeviceDiscoveryDelayMs></DeviceReset>
      <Unknown/>
      <FeatureWrite><Description Lang="en">2</Description><Value>v</Value><FeatureName>F</FeatureName></FeatureWrite>
    </Procedure>)"));
  EXPECT_TRUE(xml.GetUpdates().empty());
  const auto items = xml.GetProcedures().at("P").GetItems();
  ASSERT_THAT(items, SizeIs(2));
  EXPECT_EQ(items[0]->GetDescription().GetValue(), "1");
  EXPECT_EQ(items[1]->GetDescription().GetValue(), "2");
}

TEST(ControlXmlParser, ReadsTheFirstRootOfDocumentsWithToleratedOddities) {
  const std::pair<const char*, std::string> cases[] = {
      {"byte-order mark, declaration, comment and a later top-level element",
       "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><!DOCTYPE x [<!ENTITY e \"<q>\">]>" +
           Root(R"(<Update ProcedureId="A"/>)") + R"(<GufRuleSet><Update ProcedureId="B"/></GufRuleSet>)"},
      {"mismatched end tag name", R"(<GufRuleSet><Update ProcedureId="A"></Wrong></GufRuleSet>)"},
      {"NUL byte ending the document", Root(R"(<Update ProcedureId="A"/>)") + std::string(1, '\0') + "<<<garbage"},
  };
  for (const auto& [name, xml] : cases) {
    const auto updates = Parse(xml).GetUpdates();
    ASSERT_THAT(updates, SizeIs(1)) << name;
    EXPECT_EQ(updates[0].GetProcedureId(), "A") << name;
  }
}

TEST(ControlXmlParser, DescriptionWithoutLangGetsEmptyLanguage) {
  const GufControlXml xml = Parse(Root(
      R"(<Procedure Id="P"><DeviceReset><Description>d</Description><DeviceDiscoveryDelayMs>1</DeviceDiscoveryDelayMs></DeviceReset></Procedure>)"));
  const auto description = xml.GetProcedures().at("P").GetItems()[0]->GetDescription();
  EXPECT_EQ(description.GetValue(), "d");
  EXPECT_EQ(description.GetLang(), "");
}

TEST(ControlXmlParser, ReadsNestingUpToTheLimit) {
  // GufRuleSet is level 1, so 63 more levels make 64.
  EXPECT_NO_THROW(Parse(Root(Nested(core::fwupdate::ControlXmlParser::kMaxNestingDepth - 1))));
  // Markup that does not open an element does not count.
  std::string xml = Root("<!-- " + std::string(200, '<') + "a> --><x a='>' b=\"<y>\"/>" +
                         "<![CDATA[" + Nested(100).substr(0, 300) + "]]>" + Nested(63));
  EXPECT_NO_THROW(Parse(xml));
}

struct StructuralFault {
  const char* name;
  std::string xml;
  const char* function;
  std::string message;  // of the 4004 failure; empty for a parse error
};

void PrintTo(const StructuralFault& fault, std::ostream* os) { *os << fault.name; }

class ControlXmlFault : public ::testing::TestWithParam<StructuralFault> {};

TEST_P(ControlXmlFault, ReachesCallerAs4005AfterItsOwnWarningLine) {
  const StructuralFault& fault = GetParam();
  test::LogCapture log;
  try {
    Parse(fault.xml);
    FAIL() << "no failure";
  } catch (const fwupdate::FWUpdateException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 4005);
    EXPECT_STREQ(e.what(), "Invalid control.xml");
  }
  const auto lines = log.Lines();
  ASSERT_THAT(lines, SizeIs(2));
  EXPECT_THAT(lines[0], StartsWith(std::string("[warning] <") + fault.function + ":"));
  EXPECT_THAT(lines[0], HasSubstr(">throw FWUpdateException err_code_detail(4004) msg(" + fault.message + ")"));
  EXPECT_THAT(lines[1], MatchesRegex(R"(\[warning\] <Parse:[0-9]+>throw FWUpdateException err_code_detail\(4005\) msg\(Invalid control\.xml\))"));
}

namespace {

std::string Item(const std::string& element, const std::string& children) {
  return Root(R"(<Procedure Id="P"><)" + element + ">" + children + "</" + element + "></Procedure>");
}

const std::string kDescription = R"(<Description Lang="en">d</Description>)";

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Faults, ControlXmlFault,
    ::testing::Values(
        StructuralFault{"RootInLowerCase", "<gufruleset/>", "CheckRootElement", "Invalid root nodename(gufruleset)"},
        StructuralFault{"RootIsCdata", "<![CDATA[x]]><GufRuleSet/>", "CheckRootElement", "Invalid root nodetype(3)"},
        StructuralFault{"EmptyDocument", "", "CheckRootElement", "No root element"},
        StructuralFault{"OnlyDeclarationAndComment", "<?xml version=\"1.0\"?>\n<!-- nothing -->\n ", "CheckRootElement",
                        "No root element"},
        StructuralFault{"UpdateWithoutProcedureId", Root("<Update/>"), "CreateUpdateElement", "Invalid Update element"},
        StructuralFault{"ConditionWithoutFeature", Root(R"(<Update ProcedureId="P"><Condition>x</Condition></Update>)"),
                        "ParseUpdateElement", "//Update/Condition[@Feature]"},
        StructuralFault{"EmptyInfo", Root(R"(<Update ProcedureId="P"><Info/></Update>)"), "ParseUpdateElement",
                        "//Update/Info"},
        StructuralFault{"InfoOfWhiteSpace", Root("<Update ProcedureId=\"P\"><Info>  \n </Info></Update>"),
                        "ParseUpdateElement", "//Update/Info"},
        StructuralFault{"InfoEntryWithoutKey", Root(R"(<Update ProcedureId="P"><Info><E Key="a">1</E><E>2</E></Info></Update>)"),
                        "ParseUpdateElement", "//Update/Info[@Key]"},
        StructuralFault{"TextInsideInfo", Root(R"(<Update ProcedureId="P"><Info>text</Info></Update>)"),
                        "ParseUpdateElement", "//Update/Info[@Key]"},
        StructuralFault{"ProcedureWithoutId", Root("<Procedure/>"), "CreateProcedureElement", "//Procedure[@Id]"},
        StructuralFault{"FeatureWriteWithoutDescription", Item("FeatureWrite", "<Value>v</Value><FeatureName>F</FeatureName>"),
                        "GetDescriptionElement", "No Procedure::FeatureWrite::Description"},
        StructuralFault{"FeatureExecuteWithoutDescription", Item("FeatureExecute", "<FeatureName>F</FeatureName>"),
                        "GetDescriptionElement", "No Procedure::FeatureExecute::Description"},
        StructuralFault{"FeatureWriteWithoutValue", Item("FeatureWrite", kDescription + "<FeatureName>F</FeatureName>"),
                        "CreateProcedureElement", "//Procedure/FeatureWrite/Value"},
        StructuralFault{"FeatureExecuteWithoutTimeout", Item("FeatureExecute", kDescription + "<FeatureName>F</FeatureName>"),
                        "CreateProcedureElement", "//Procedure/FeatureExecute/MaximumExecutionTimeoutMs"},
        StructuralFault{"FeatureAssertWithoutPattern", Item("FeatureAssert", kDescription + "<FeatureName>F</FeatureName>"),
                        "CreateProcedureElement", "//Procedure/FeatureAssert/AssertPattern"},
        StructuralFault{"FeatureWriteWithoutFeatureName", Item("FeatureWrite", kDescription + "<Value>v</Value>"),
                        "GetFeatureName", "No Procedure::Feature::FeatureName"},
        StructuralFault{"FeatureAssertWithoutFeatureName",
                        Item("FeatureAssert", kDescription + "<AssertPattern>x</AssertPattern>"), "GetFeatureName",
                        "No Procedure::Feature::FeatureName"},
        StructuralFault{"FileUploadWithoutFileName", Item("FileUpload", kDescription + "<DeviceFileName>D</DeviceFileName>"),
                        "GetFileName", "No Procedure::FileUpload::FileName"},
        StructuralFault{"FileUploadWithoutDeviceFileName", Item("FileUpload", kDescription + "<FileName>f</FileName>"),
                        "GetDeviceFileName", "No Procedure::FileUpload::DeviceFileName"},
        StructuralFault{"DeviceResetWithoutDelay", Item("DeviceReset", kDescription), "DeviceDiscoveryDelayMs",
                        "No Procedure::DeviceReset::DeviceDiscoveryDelayMs"},
        StructuralFault{"NestedOneLevelTooDeep", Root(Nested(core::fwupdate::ControlXmlParser::kMaxNestingDepth)),
                        "CheckNestingDepth", "Nested deeper than 64 levels"},
        StructuralFault{"NestedHundredThousandLevels", Root(Nested(100000)), "CheckNestingDepth",
                        "Nested deeper than 64 levels"},
        // The parser takes a quote as part of a name, and ends other "<!" markup at the first
        // '>' whatever brackets it holds: neither may hide the levels behind it.
        StructuralFault{"DepthBehindQuoteInElementName", Root("<a\">" + Nested(100000)), "CheckNestingDepth",
                        "Nested deeper than 64 levels"},
        StructuralFault{"DepthBehindBracketInOtherMarkup", Root("<!x[>" + Nested(100000)), "CheckNestingDepth",
                        "Nested deeper than 64 levels"}),
    [](const ::testing::TestParamInfo<StructuralFault>& info) { return std::string(info.param.name); });

TEST(ControlXmlParser, MalformedXmlLogsWhereItFailedThenInvalidControlXml) {
  test::LogCapture log;
  try {
    Parse(R"(<GufRuleSet><Update ProcedureId="P">)");
    FAIL() << "no failure";
  } catch (const fwupdate::FWUpdateException& e) {
    EXPECT_EQ(e.GetErrCodeDetail(), 4005);
    EXPECT_STREQ(e.what(), "Invalid control.xml");
  }
  const auto lines = log.Lines();
  ASSERT_THAT(lines, SizeIs(2));
  EXPECT_EQ(lines[0], "[error] what(unexpected end of data) where()");
  EXPECT_THAT(lines[1], HasSubstr("err_code_detail(4005) msg(Invalid control.xml)"));
}

TEST(ControlXmlParser, ItemLackingDescriptionAndFeatureNameFailsOnDescription) {
  test::LogCapture log;
  EXPECT_THROW(Parse(Item("FeatureAssert", "<AssertPattern>x</AssertPattern>")), fwupdate::FWUpdateException);
  EXPECT_THAT(log.Lines().at(0), HasSubstr("msg(No Procedure::FeatureAssert::Description)"));
}
