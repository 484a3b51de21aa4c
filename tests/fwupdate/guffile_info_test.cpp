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

std::string DeflatedControlXmlDeclaring(int more) {
  return WithInner(PackageBuilder(kControlXml, ZipMethod::Deflated), [&](std::string& z) {
    test::PatchDeclaredSize(z, "control.xml", static_cast<std::uint32_t>(static_cast<int>(kControlXml.size()) + more));
  });
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
// entries after it, even compressed namesakes, are passed over.
TEST(GuffileInfo, ReadsTheFirstStoredPackageZipAndControlXmlOfAnyCase) {
  const std::string evil = PackageBuilder(Xml("evil")).File("fw.bin", "evil").InnerZip();
  // "package.zix" is renamed after the build: two entries of one name, the second deflated.
  for (const char* namesake : {"PACKAGE.ZIP", "package.zix"}) {
    std::string outer = PackageBuilder(Xml("good"))
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
  TempPath path("case.guf");
  EXPECT_EQ(
      FirstVersion(Written(path.str(), PackageBuilder().File("CONTROL.Xml", Xml("7"), ZipMethod::Deflated).Build())),
      "7");
}

// Callers see the public class, a copy that logs nothing more. Every other fault of the
// document itself is the control XML reader's test. (A failed GetFile is the step executor's.)
TEST(GuffileInfo, MalformedPackagesFailWithThePublicUpdateException) {
  struct Row {
    const char* name;
    std::optional<std::string> bytes;  // none: the file does not exist
    std::string message;               // "{path}" stands for the package path
    int detail = 4003;
  };
  const std::string inner = Valid().InnerZip();
  const Row rows[] = {
      {"missing file", std::nullopt, "File not found ({path})", 4005},
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
      {"control.xml longer than declared", DeflatedControlXmlDeclaring(-10), kInnerExtract},
      {"control.xml shorter than declared", DeflatedControlXmlDeclaring(10), kInnerExtract},
      {"control.xml bzip2", PackageBuilder(kControlXml, ZipMethod::Bzip2).Build(), kInnerExtract},
      {"control.xml encrypted", Valid().BuildAround(MakeZip({{"control.xml", kControlXml, ZipMethod::Deflated, true}})),
       kInnerExtract},
      {"other root", PackageBuilder("<Other/>").Build(), "Invalid control.xml", 4005},
      // A step number that is no number fails the read as a plain std::exception, detail 0 here.
      {"no number", PackageBuilder(Replace(kControlXml, "-1<", "soon<")).Build(), "std::exception", 0},
  };
  for (const Row& row : rows) {
    TempPath path("fault.guf");
    if (row.bytes) test::WriteBytes(path.str(), *row.bytes);
    try {
      GuffileInfo(path.str()).GetUpdates();
      ADD_FAILURE() << row.name << ": no failure";
    } catch (const std::exception& e) {
      const auto* update = dynamic_cast<const fwupdate::FWUpdateException*>(&e);
      EXPECT_EQ(typeid(e), update ? typeid(fwupdate::FWUpdateException) : typeid(std::exception)) << row.name;
      EXPECT_EQ(update ? update->GetErrCodeDetail() : 0, row.detail) << row.name;
      EXPECT_EQ(e.what(), Replace(row.message, "{path}", path.str())) << row.name;
    }
  }
}

// The bytes handed out stay valid after the call, after other reads and with the file gone.
TEST(GuffileInfo, GetFileReturnsEntriesByNameOfAnyCase) {
  TempPath path("files.guf");
  const std::string big(300000, 'x');
  GuffileInfo reader(
      Written(path.str(), Valid().File("Images/Big.BIN", big, ZipMethod::Deflated).File("e", "").Build()));
  EXPECT_EQ(Text(reader.GetFile("images/big.bin")), big);
  EXPECT_EQ(Text(reader.GetFile("e")), "");
  const auto firmware = reader.GetFile("FW.BIN");
  reader.GetUpdates();
  std::remove(path.str().c_str());
  EXPECT_EQ(Text(firmware), kFirmware);
}

TEST(GuffileInfo, DeclaredSizesOverTheirLimitsAreRefusedBeforeReading) {
  struct Case {
    const char* entry;
    std::uint64_t limit;
    std::string message;
  };
  for (const Case& c : {Case{"package.zip", 2ull << 30, kOuterExtract}, Case{"control.xml", 16u << 20, kInnerExtract},
                        Case{"fw.bin", 1u << 30, kInnerExtract}}) {
    const PackageBuilder builder = PackageBuilder(kControlXml, ZipMethod::Deflated).File("fw.bin", kFirmware);
    const auto over = [&](std::string& z) {
      test::PatchDeclaredSize(z, c.entry, static_cast<std::uint32_t>(c.limit + 1));
    };
    TempPath path("limit.guf");
    GuffileInfo reader(Written(
        path.str(), std::string(c.entry) == "package.zip" ? Damaged(builder.Build(), over) : WithInner(builder, over)));
    test::LogCapture log;
    try {
      std::string(c.entry) == "fw.bin" ? (void)reader.GetFile(c.entry) : (void)reader.GetUpdates();
      ADD_FAILURE() << c.entry << ": no failure";
    } catch (const fwupdate::FWUpdateException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 4003) << c.entry;
      EXPECT_EQ(e.what(), Replace(c.message, "{path}", path.str())) << c.entry;
    }
    EXPECT_THAT(log.Text(), HasSubstr("more than the " + std::to_string(c.limit) + " allowed")) << c.entry;
  }
  // Exactly at the limit is still read.
  const std::string head = R"(<GufRuleSet><Update ProcedureId="P"><Info><E Key="Version">16</E></Info></Update>)";
  const std::string xml = head + std::string((16u << 20) - head.size() - 13, ' ') + "</GufRuleSet>";
  TempPath path("sixteen.guf");
  EXPECT_EQ(FirstVersion(Written(path.str(), PackageBuilder(xml, ZipMethod::Deflated).Build())), "16");
}

TEST(GuffileInfo, PathThatIsNotARegularFileFailsAtOnceLikeAMissingOne) {
  TempPath fifo("fifo.guf");
  ASSERT_EQ(mkfifo(fifo.str().c_str(), 0600), 0);
  // A read that waited for a writer would hang here: the alarm ends the test instead.
  alarm(10);
  for (const std::string& path : {fifo.str(), ::testing::TempDir(), std::string("/dev/null")}) {
    try {
      GuffileInfo(path).GetUpdates();
      ADD_FAILURE() << path << ": no failure";
    } catch (const fwupdate::FWUpdateException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 4005) << path;
      EXPECT_EQ(e.what(), "File not found (" + path + ")");
    }
  }
  alarm(0);
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
    int status = 5;
    try {
      status = read();
    } catch (...) {
    }
    _exit(status);
  }
  int status = 0;
  rusage usage{};
  ASSERT_EQ(wait4(child, &status, 0, &usage), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no failure, 3: wrong text, 4: wrong model, 5: unexpected exception";
  EXPECT_LT(usage.ru_maxrss - rssAtFork, 64 * 1024);
}
