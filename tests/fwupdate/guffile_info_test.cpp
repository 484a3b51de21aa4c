// The update package reader and the package model it builds: well-formed packages read into
// updates, every malformed one failing with its detail and text, and the limits that keep
// untrusted packages cheap.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <typeinfo>

#include "core/libstatic_fwupdate/exception_update.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/support/log_capture.h"
#include "tests/support/package_builder.h"

using namespace quarx;
using core::fwupdate::GuffileInfo;
using core::fwupdate::ProcedureItem;
using core::fwupdate::ProcedureType;
using test::MakeZip;
using test::PackageBuilder;
using test::TempPath;
using test::ZipEntry;
using test::ZipMethod;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;

namespace {

const std::string kControlXml = R"(<GufRuleSet>
  <Update ProcedureId="Main">
    <Condition Feature="DeviceVersion">1\..*</Condition><Condition Feature="DeviceModelName">VM-.*</Condition>
    <Info><Entry Key="Version">2.0.0</Entry><Entry Key="Description">Firmware 2</Entry></Info>
  </Update>
  <Update ProcedureId="None"><Info><Entry Key="Version">9</Entry></Info></Update>
  <Procedure Id="Main">
    <DeviceReset><Description Lang="en">Reset</Description><DeviceDiscoveryDelayMs> 5000ms</DeviceDiscoveryDelayMs></DeviceReset>
    <FileUpload><Description>Upload</Description><FileName>fw.bin</FileName><DeviceFileName>Firmware</DeviceFileName></FileUpload>
    <FeatureAssert><Description Lang="en">Check</Description><AssertPattern>2\.0\.0</AssertPattern><FeatureName>DeviceVersion</FeatureName></FeatureAssert>
    <FeatureExecute><Description Lang="en">Install</Description><MaximumExecutionTimeoutMs>-1</MaximumExecutionTimeoutMs><FeatureName>Install</FeatureName></FeatureExecute>
    <FeatureWrite><Description Lang="de">Modus</Description><Value> On </Value><FeatureName>Mode</FeatureName></FeatureWrite>
  </Procedure>
</GufRuleSet>
)";

const std::string kFirmware = "2.0.0\nfirmware image bytes\n";

// One step as a line: its kind's number, its fields and its description.
std::string Line(const ProcedureItem& s) {
  using T = ProcedureType;
  const T t = s.GetProcedureType();
  const std::string fields = t == T::FeatureWrite ? s.GetFeatureName() + "=" + s.GetValue()
                             : t == T::FileUpload ? s.GetFileName() + ">" + s.GetDeviceFileName()
                             : t == T::FeatureExecute
                                 ? s.GetFeatureName() + " " + std::to_string(s.GetMaximunExecutionTimeoutMs())
                             : t == T::DeviceReset ? std::to_string(s.GetDeviceDiscoveryDelayMs())
                                                   : s.GetFeatureName() + "~" + s.GetAssertPattern();
  return std::to_string(static_cast<int>(t)) + " " + fields + " (" + s.GetDescription().first + "/" +
         s.GetDescription().second + ")";
}

std::string Xml(const std::string& version) {
  return R"(<GufRuleSet><Update ProcedureId="P"><Info><E Key="Version">)" + version +
         "</E></Info></Update></GufRuleSet>";
}

std::string Written(const std::string& path, const std::string& bytes) {
  test::WriteBytes(path, bytes);
  return path;
}

std::string FirstVersion(const std::string& path) {
  return GuffileInfo(path).GetUpdates().at(0)->GetInfoEntry("Version");
}

std::string Text(std::pair<const std::uint8_t*, std::size_t> file) {
  return std::string(reinterpret_cast<const char*>(file.first), file.second);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

PackageBuilder Valid() { return PackageBuilder(kControlXml).File("fw.bin", kFirmware); }

std::string Damaged(std::string zip, const std::function<void(std::string&)>& damage) {
  damage(zip);
  return zip;
}

std::string WithInner(const PackageBuilder& builder, const std::function<void(std::string&)>& damage) {
  return builder.BuildAround(Damaged(builder.InnerZip(), damage));
}

std::function<void(std::string&)> Declaring(const std::string& entry, std::uint64_t size) {
  return [=](std::string& z) { test::PatchDeclaredSize(z, entry, static_cast<std::uint32_t>(size)); };
}

std::string DeflatedControlXmlDeclaring(std::uint64_t size) {
  return WithInner(PackageBuilder(kControlXml, ZipMethod::Deflated), Declaring("control.xml", size));
}

std::size_t ProcStatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stoul(line.substr(std::strlen(key)));
  }
  return 0;
}

const std::string kInitFile = "Invalid Zipfile({path}) failed to mz_zip_reader_init_file()";
const std::string kOuterMethod = "Invalid Zipfile({path}) invalid zip_file_stat";
const std::string kOuterExtract = "Invalid Zipfile({path}) failed to mz_zip_reader_extract_file_to_heap()";
const std::string kInitMem = "Invalid Zipfile() failed to mz_zip_reader_init_mem()";
const std::string kInnerExtract = "Invalid Zipfile() failed to mz_zip_reader_extract_file_to_heap()";

}  // namespace

// The steps' numbers are read like std::stoi: blanks skipped, trailing text ignored, -1 wrapped.
TEST(GuffileInfo, ReadsUpdatesAndTheirStepsInDocumentOrder) {
  TempPath path("full.guf");
  const GuffileInfo reader(Written(path.str(), Valid().Build()));
  const auto updates = reader.GetUpdates();
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_THAT(updates[0]->GetConditions(),
              ElementsAre(Pair("DeviceModelName", "VM-.*"), Pair("DeviceVersion", "1\\..*")));
  EXPECT_THAT(updates[0]->GetInfoEntries(), ElementsAre(Pair("Description", "Firmware 2"), Pair("Version", "2.0.0")));
  std::vector<std::string> lines;
  for (const ProcedureItem& step : updates[0]->GetProceureItems()) lines.push_back(Line(step));
  EXPECT_THAT(lines,
              ElementsAre("3 5000 (Reset/en)", "1 fw.bin>Firmware (Upload/)", "4 DeviceVersion~2\\.0\\.0 (Check/en)",
                          "2 Install 4294967295 (Install/en)", "0 Mode= On  (Modus/de)"));
  // A procedure id that names no procedure gives no steps; the rest of the update stays.
  EXPECT_TRUE(updates[1]->GetProceureItems().empty());
  EXPECT_EQ(updates[1]->GetInfoEntry("Version"), "9");
  EXPECT_EQ(updates[1]->GetInfoEntry("Description"), "");
}

// Only the stored entries up to "package.zip" are walked: stored entries before it and any
// entries after it, even compressed namesakes, are passed over. Inner names match in any case.
TEST(GuffileInfo, ReadsTheFirstStoredPackageZipAndInnerEntriesOfAnyCase) {
  const std::string evil = PackageBuilder(Xml("evil")).File("fw.bin", "evil").InnerZip();
  // "package.zix" is renamed after the build: two entries of one name, the second deflated.
  for (const char* namesake : {"PACKAGE.ZIP", "package.zix"}) {
    std::string outer = PackageBuilder()
                            .File("CONTROL.Xml", Xml("good"), ZipMethod::Deflated)
                            .File("FW.bin", "good", ZipMethod::Deflated)
                            .OuterBefore(ZipEntry{"readme.txt", "notes"})
                            .OuterAfter(ZipEntry{namesake, evil, ZipMethod::Deflated})
                            .Build();
    if (std::string(namesake) == "package.zix") test::RenameEntry(outer, namesake, "package.zip");
    TempPath path("namesake.guf");
    GuffileInfo reader(Written(path.str(), outer));
    EXPECT_EQ(FirstVersion(path.str()), "good") << namesake;
    EXPECT_EQ(Text(reader.GetFile("fw.BIN")), "good") << namesake;
  }
}

// Callers see the public class, a copy that logs nothing more. Every other fault of the
// document itself is the control XML reader's test. (A failed GetFile is the step executor's.)
// A path that is no regular file fails at once like a missing one: a read that waited for a
// writer of the FIFO would hang, and the alarm ends the test instead.
TEST(GuffileInfo, MalformedPackagesFailWithThePublicUpdateException) {
  struct Row {
    const char* name;
    std::optional<std::string> bytes;  // none: the file does not exist
    std::string message;               // "{path}" stands for the package path
    int detail = 4003;
    std::string logged = "";  // what the log says of the reason
    std::string path = "";    // the package's, unless given
  };
  TempPath fifo("fifo.guf");
  ASSERT_EQ(mkfifo(fifo.str().c_str(), 0600), 0);
  const std::string notFound = "File not found ({path})";
  const std::string inner = Valid().InnerZip();
  const Row rows[] = {
      {"missing file", std::nullopt, notFound, 4005},
      {"FIFO", std::nullopt, notFound, 4005, "", fifo.str()},
      {"directory", std::nullopt, notFound, 4005, "", ::testing::TempDir()},
      {"device", std::nullopt, notFound, 4005, "", "/dev/null"},
      {"not a zip", "just text, not an archive", kInitFile},
      {"empty file", "", kInitFile},
      {"compressed entry first", Valid().OuterBefore({"a", std::string(99, 'a'), ZipMethod::Deflated}).Build(),
       kOuterMethod},
      {"package.zip compressed", MakeZip({{"package.zip", inner, ZipMethod::Deflated}}), kOuterMethod},
      {"package.zip in other case", MakeZip({{"Package.zip", inner}}), "Not found package.zip"},
      // Nothing but the end-of-central-directory record: the smallest archive there is.
      {"no entries", std::string("PK\x05\x06", 4) + std::string(18, '\0'), "Not found package.zip"},
      {"outer CRC damaged", Damaged(Valid().Build(), [](std::string& z) { test::DamageCrc(z, "package.zip"); }),
       kOuterExtract},
      {"package.zip encrypted", MakeZip({{"package.zip", inner, ZipMethod::Stored, true}}), kOuterExtract},
      {"package.zip not a zip", Valid().BuildAround("not a zip at all, but long enough"), kInitMem},
      {"package.zip empty", Valid().BuildAround(""), kInitMem},
      {"control.xml missing", PackageBuilder().File("fw.bin", kFirmware).Build(), kInnerExtract},
      {"control.xml in a directory", PackageBuilder().File("dir/control.xml", Xml("1")).Build(), kInnerExtract},
      {"control.xml CRC damaged", WithInner(Valid(), [](std::string& z) { test::DamageCrc(z, "control.xml"); }),
       kInnerExtract},
      {"control.xml longer than declared", DeflatedControlXmlDeclaring(kControlXml.size() - 10), kInnerExtract},
      {"control.xml shorter than declared", DeflatedControlXmlDeclaring(kControlXml.size() + 10), kInnerExtract},
      // Declared sizes over their caps are refused before reading.
      {"package.zip over its cap", Damaged(Valid().Build(), Declaring("package.zip", (2ull << 30) + 1)), kOuterExtract,
       4003, "more than the 2147483648 allowed"},
      {"control.xml over its cap", DeflatedControlXmlDeclaring((16u << 20) + 1), kInnerExtract, 4003,
       "more than the 16777216 allowed"},
      {"control.xml bzip2", PackageBuilder(kControlXml, ZipMethod::Bzip2).Build(), kInnerExtract},
      {"control.xml encrypted", Valid().BuildAround(MakeZip({{"control.xml", kControlXml, ZipMethod::Deflated, true}})),
       kInnerExtract},
      {"other root", PackageBuilder("<Other/>").Build(), "Invalid control.xml", 4005},
      // A step number that is no number fails the read as a plain std::exception, detail 0 here.
      {"no number", PackageBuilder(Replace(kControlXml, "-1<", "soon<")).Build(), "std::exception", 0},
  };
  alarm(10);
  for (const Row& row : rows) {
    TempPath temp("fault.guf");
    const std::string path = row.path.empty() ? temp.str() : row.path;
    if (row.bytes) test::WriteBytes(path, *row.bytes);
    test::LogCapture log;
    try {
      GuffileInfo(path).GetUpdates();
      ADD_FAILURE() << row.name << ": no failure";
    } catch (const std::exception& e) {
      const auto* update = dynamic_cast<const fwupdate::FWUpdateException*>(&e);
      EXPECT_EQ(typeid(e), update ? typeid(fwupdate::FWUpdateException) : typeid(std::exception)) << row.name;
      EXPECT_EQ(update ? update->GetErrCodeDetail() : 0, row.detail) << row.name;
      EXPECT_EQ(e.what(), Replace(row.message, "{path}", path)) << row.name;
    }
    EXPECT_THAT(log.Text(), HasSubstr(row.logged)) << row.name;
  }
  alarm(0);
}

// A firmware file declaring more than its cap is refused before reading; a control XML of
// exactly its cap is read. The bytes handed out stay valid until the next GetFile, through
// other reads and with the file gone.
TEST(GuffileInfo, EntriesAreReadUpToTheirCaps) {
  std::string xml = Xml("16");
  xml.insert(xml.size() - 13, (16u << 20) - xml.size(), ' ');
  TempPath path("files.guf");
  const PackageBuilder builder = PackageBuilder(xml, ZipMethod::Deflated).File("fw.bin", kFirmware).File("big", "");
  GuffileInfo reader(Written(path.str(), WithInner(builder, Declaring("big", (1u << 30) + 1))));
  test::LogCapture log;
  EXPECT_THROW(reader.GetFile("big"), fwupdate::FWUpdateException);
  EXPECT_THAT(log.Text(), HasSubstr("more than the 1073741824 allowed"));
  const auto firmware = reader.GetFile("FW.BIN");
  EXPECT_EQ(reader.GetUpdates().at(0)->GetInfoEntry("Version"), "16");
  std::remove(path.str().c_str());
  EXPECT_EQ(Text(firmware), kFirmware);
}

// Under its cap, an entry declaring far more than it holds costs only what it holds; and 10000
// updates naming one procedure of 2000 steps, a few kilobytes of package, share those steps
// instead of taking gigabytes. Both are read in a child whose address space beyond what it has
// is limited to 256 MiB, so that even an allocation never touched fails instead of passing
// unnoticed; its resident memory must grow by less than 64 MiB.
TEST(GuffileInfo, HostilePackagesAreReadInLittleMemory) {
  TempPath big("big.guf");
  Written(big.str(),
          Damaged(Valid().Build(), [](std::string& z) { test::PatchDeclaredSize(z, "package.zip", 3u << 29); }));
  std::string xml = "<GufRuleSet>";
  for (int i = 0; i < 10000; ++i) xml += R"(<Update ProcedureId="P"/>)";
  xml += R"(<Procedure Id="P">)";
  for (int i = 0; i < 2000; ++i) {
    xml +=
        R"(<DeviceReset><Description>r</Description><DeviceDiscoveryDelayMs>1</DeviceDiscoveryDelayMs></DeviceReset>)";
  }
  TempPath shared("shared.guf");
  Written(shared.str(), PackageBuilder(xml + "</Procedure></GufRuleSet>", ZipMethod::Deflated).Build());
  const long rssAtFork = static_cast<long>(ProcStatusKiB("VmRSS:"));
  const pid_t child = fork();
  if (child == 0) {
    const rlim_t room = (ProcStatusKiB("VmSize:") + 256 * 1024) * 1024;
    const rlimit limit{room, room};
    setrlimit(RLIMIT_AS, &limit);
    const auto read = [&] {
      try {
        GuffileInfo(big.str()).GetUpdates();
        return 2;
      } catch (const fwupdate::FWUpdateException& e) {
        if (e.what() != Replace(kOuterExtract, "{path}", big.str())) return 3;
      }
      const auto updates = GuffileInfo(shared.str()).GetUpdates();
      return updates.size() == 10000 && updates.back()->GetProceureItems().size() == 2000 ? 0 : 4;
    };
    _exit(read());  // an exception aborts the child
  }
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(child, &status, 0, &usage), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no failure, 3: wrong text, 4: wrong model";
  EXPECT_LT(usage.ru_maxrss - rssAtFork, 64 * 1024);
}
