// Writes the seed corpora of the fuzz targets, one folder per target, from readable
// descriptions: packages through the package builder, the rest as text and a sample acknowledge.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "camerasdk/gev_registers.h"
#include "camerasdk/gvcp_discovery.h"
#include "tests/support/package_builder.h"

namespace fs = std::filesystem;
using quarx::test::PackageBuilder;
using quarx::test::ZipEntry;
using quarx::test::ZipMethod;

namespace {

// Every step kind, conditions of both kinds, two updates sharing one procedure.
const std::string kFullXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- every element the reader knows -->
<GufRuleSet>
  <Update ProcedureId="P1">
    <Condition Feature="DeviceModelName">FWCAM-1</Condition>
    <Condition Feature="DeviceVersion">1\.0\.[0-9]+</Condition>
    <Condition Feature="DeviceUserID">.*</Condition>
    <Info><Entry Key="Version">2.0.0</Entry><Entry Key="Description">Sample &amp; more &#x41;</Entry></Info>
  </Update>
  <Update ProcedureId="P1"><Info><Entry Key="Version">2.0.1</Entry></Info></Update>
  <Procedure Id="P1">
    <FeatureWrite><Description Lang="en">Mode</Description><Value>On</Value><FeatureName>FirmwareUpdateMode</FeatureName></FeatureWrite>
    <FileUpload><Description Lang="en">Upload</Description><FileName>firmware.img</FileName><DeviceFileName>Firmware</DeviceFileName></FileUpload>
    <FileUpload><Description Lang="ja">Second</Description><FileName>missing.img</FileName><DeviceFileName>Firmware</DeviceFileName></FileUpload>
    <FeatureExecute><Description Lang="en">Install</Description><MaximumExecutionTimeoutMs>10000</MaximumExecutionTimeoutMs><FeatureName>FirmwareUpdateExecute</FeatureName></FeatureExecute>
    <DeviceReset><Description Lang="en">Reset</Description><DeviceDiscoveryDelayMs>3000</DeviceDiscoveryDelayMs></DeviceReset>
    <FeatureAssert><Description Lang="en">Check</Description><AssertPattern>2\.0\.(0|1)</AssertPattern><FeatureName>DeviceVersion</FeatureName></FeatureAssert>
  </Procedure>
</GufRuleSet>
)";

// The constructs the reader skips: declaration, DOCTYPE, processing instruction, CDATA, a
// byte-order mark, single quotes, nesting under an unknown element.
const std::string kOddXml = "\xEF\xBB\xBF<?xml version='1.0'?><!DOCTYPE GufRuleSet [<!ELEMENT a ANY>]>"
                            "<GufRuleSet><?pi data?><Other><Deep><Deeper/></Deep></Other>"
                            "<Update ProcedureId='Q'><Condition Feature='DeviceVendorName'><![CDATA[x]]>V.*</Condition>"
                            "<Info><E Key='Version'>1</E></Info></Update>"
                            "<Procedure Id='Q'><DeviceReset><DeviceDiscoveryDelayMs>x</DeviceDiscoveryDelayMs></DeviceReset>"
                            "</Procedure></GufRuleSet>";

const std::string kSmallXml = R"(<GufRuleSet><Update ProcedureId="R"/></GufRuleSet>)";

void Write(const fs::path& path, const std::string& bytes) { quarx::test::WriteBytes(path.string(), bytes); }

void PackageSeeds(const fs::path& dir) {
  Write(dir / "full.guf", PackageBuilder(kFullXml).File("firmware.img", "2.0.0\nimage").Build());
  Write(dir / "deflated.guf", PackageBuilder(kFullXml, ZipMethod::Deflated)
                                  .File("firmware.img", std::string(300, 'f'), ZipMethod::Deflated)
                                  .OuterAfter(ZipEntry{"readme.txt", "text", ZipMethod::Deflated})
                                  .Build());
  Write(dir / "odd.guf", PackageBuilder(kOddXml).Build());
  Write(dir / "small.guf", PackageBuilder(kSmallXml).OuterBefore(ZipEntry{"a.txt", "a"}).Build());
}

void ControlXmlSeeds(const fs::path& dir) {
  Write(dir / "full.xml", kFullXml);
  Write(dir / "odd.xml", kOddXml);
  Write(dir / "small.xml", kSmallXml);
}

void PatternSeeds(const fs::path& dir) {
  // Pattern and value as the target splits them.
  const std::vector<std::pair<std::string, std::string>> seeds = {
      {"1\\.0\\.[0-9]+", "1.0.7"},
      {"Velmora", "Velmora"},
      {"(a|b)*c{2,3}", "abcc"},
      {"[[:alpha:]]+\\d?(?=x)", "abc1"},
      {"^FW(CAM|X)-\\1$", "FWCAM-CAM"},
  };
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    Write(dir / ("seed" + std::to_string(i)), seeds[i].first + '\0' + seeds[i].second);
  }
}

void PutU32(std::string& d, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

void DiscoveryAckSeeds(const fs::path& dir) {
  using namespace camerasdk;
  // Request id 0x1234, then the datagram: GVCP header (status, DISCOVERY_ACK, length, id) and
  // the payload mirroring the bootstrap registers.
  std::string d = std::string("\x12\x34\x00\x00\x00\x03\x00\xF8\x12\x34", 10) + std::string(kDiscoveryAckPayloadSize, '\0');
  const std::size_t p = 2 + kGvcpHeaderSize;
  PutU32(d, p + kRegVersion, 0x00020001);
  PutU32(d, p + kRegMacHigh, 0x0000025E);
  PutU32(d, p + kRegMacLow, 0xC1ABCDEF);
  PutU32(d, p + kRegCurrentIp, 0x7F000002);
  PutU32(d, p + kRegSubnetMask, 0xFF000000);
  d.replace(p + kRegManufacturerName, 7, "Velmora");
  d.replace(p + kRegModelName, 7, "FWCAM-1");
  d.replace(p + kRegSerialNumber, kLenSerialNumber, "0123456789ABCDEF");
  Write(dir / "ack", d);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path root(argv[1]);
  const struct {
    const char* target;
    void (*write)(const fs::path&);
  } corpora[] = {{"package_reader", PackageSeeds},
                 {"control_xml", ControlXmlSeeds},
                 {"pattern", PatternSeeds},
                 {"discovery_ack", DiscoveryAckSeeds}};
  for (const auto& corpus : corpora) {
    fs::create_directories(root / corpus.target);
    corpus.write(root / corpus.target);
  }
  return 0;
}
