// The update package reader: well-formed packages read into updates, every malformed one failing
// with its exception type, detail and text, and the limits that keep untrusted packages cheap.
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
#include <tuple>
#include <typeinfo>

#include "core/libstatic_fwupdate/exception_update_impl.h"
#include "core/libstatic_fwupdate/guffile_info.h"
#include "tests/support/log_capture.h"
#include "tests/support/package_builder.h"

using namespace quarx;
using core::fwupdate::GuffileInfo;
using core::fwupdate::ProcedureType;
using test::MakeZip;
using test::PackageBuilder;
using test::TempPath;
using test::ZipEntry;
using test::ZipMethod;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;
using ::testing::SizeIs;

namespace {

const std::string kControlXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<GufRuleSet>
  <Update ProcedureId="Main">
    <Condition Feature="DeviceModelName">VM-.*</Condition>
    <Condition Feature="DeviceVendorName">Velmora</Condition>
    <Info><Entry Key="Version">2.0.0</Entry><Entry Key="Description">Firmware 2</Entry></Info>
  </Update>
  <Update ProcedureId="Other"><Info><Entry Key="Version">9</Entry></Info></Update>
  <Procedure Id="Main">
    <FeatureWrite><Description Lang="en">Prepare</Description><Value>1</Value><FeatureName>Mode</FeatureName></FeatureWrite>
    <FileUpload><Description Lang="en">Upload</Description><FileName>fw.bin</FileName><DeviceFileName>Firmware</DeviceFileName></FileUpload>
    <FeatureExecute><Description Lang="en">Install</Description><MaximumExecutionTimeoutMs>30000</MaximumExecutionTimeoutMs><FeatureName>Install</FeatureName></FeatureExecute>
    <DeviceReset><Description Lang="en">Reset</Description><DeviceDiscoveryDelayMs>5000</DeviceDiscoveryDelayMs></DeviceReset>
    <FeatureAssert><Description Lang="en">Check</Description><AssertPattern>2\.0\.0</AssertPattern><FeatureName>DeviceVersion</FeatureName></FeatureAssert>
  </Procedure>
</GufRuleSet>
)";

const std::string kFirmware = "2.0.0\nfirmware image bytes\n";

std::string ControlXmlWithVersion(const std::string& version) {
  return R"(<GufRuleSet><Update ProcedureId="P"><Info><E Key="Version">)" + version + "</E></Info></Update></GufRuleSet>";
}

std::string FirstVersion(const GuffileInfo& reader) { return reader.GetUpdates().at(0)->GetInfoEntry("Version"); }

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST(GuffileInfo, ReadsUpdatesWithConditionsEntriesAndStepsInDocumentOrder) {
  TempPath path("full.guf");
  test::WritePackage(path.str(), kControlXml, {{"fw.bin", kFirmware}});
  const GuffileInfo reader(path.str());
  EXPECT_EQ(reader.GetGuffileName(), path.str());
  const auto updates = reader.GetUpdates();
  ASSERT_THAT(updates, SizeIs(2));
  EXPECT_THAT(updates[0]->GetConditions(),
              ElementsAre(Pair("DeviceModelName", "VM-.*"), Pair("DeviceVendorName", "Velmora")));
  EXPECT_EQ(updates[0]->GetInfoEntry("Version"), "2.0.0");
  EXPECT_EQ(updates[0]->GetInfoEntry("Description"), "Firmware 2");
  // The fields of each step kind are the package model's tests; here the road from the file.
  const auto steps = updates[0]->GetProceureItems();
  ASSERT_THAT(steps, SizeIs(5));
  EXPECT_EQ(steps[1].GetFileName(), "fw.bin");
  EXPECT_EQ(steps[4].GetAssertPattern(), "2\\.0\\.0");
  EXPECT_EQ(updates[1]->GetInfoEntry("Version"), "9");
  EXPECT_TRUE(updates[1]->GetProceureItems().empty());
}

TEST(GuffileInfo, TwoReadsGiveEqualIndependentLists) {
  TempPath path("twice.guf");
  test::WritePackage(path.str(), kControlXml, {{"fw.bin", kFirmware}});
  const GuffileInfo reader(path.str());
  const auto first = reader.GetUpdates();
  const auto second = reader.GetUpdates();
  ASSERT_EQ(first.size(), second.size());
  for (std::size_t i = 0; i < first.size(); ++i) {
    EXPECT_NE(first[i].get(), second[i].get());
    EXPECT_EQ(first[i]->GetInfoEntries(), second[i]->GetInfoEntries());
    EXPECT_EQ(first[i]->GetConditions(), second[i]->GetConditions());
    const auto a = first[i]->GetProceureItems();
    const auto b = second[i]->GetProceureItems();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t s = 0; s < a.size(); ++s) {
      EXPECT_EQ(a[s].GetProcedureType(), b[s].GetProcedureType());
      EXPECT_EQ(a[s].GetDescription(), b[s].GetDescription());
    }
  }
}

TEST(GuffileInfo, ReadsDeflatedControlXmlFoundWithoutRegardToCase) {
  for (const char* name : {"control.xml", "CONTROL.XML", "Control.Xml"}) {
    TempPath path("case.guf");
    PackageBuilder().File(name, ControlXmlWithVersion("7"), ZipMethod::Deflated).WriteTo(path.str());
    EXPECT_EQ(FirstVersion(GuffileInfo(path.str())), "7") << name;
  }
}

TEST(GuffileInfo, InnerNamesMatchOverTheWholeNameIncludingDirectories) {
  TempPath path("dir.guf");
  PackageBuilder().File("dir/control.xml", ControlXmlWithVersion("1")).WriteTo(path.str());
  EXPECT_THROW(GuffileInfo(path.str()).GetUpdates(), fwupdate::FWUpdateException);
}

TEST(GuffileInfo, CompressedOuterEntriesAfterPackageZipAreNotExamined) {
  TempPath path("after.guf");
  PackageBuilder(ControlXmlWithVersion("3"))
      .OuterBefore(ZipEntry{"readme.txt", "stored notes", ZipMethod::Stored})
      .OuterAfter(ZipEntry{"notes.txt", std::string(1000, 'n'), ZipMethod::Deflated})
      .WriteTo(path.str());
  EXPECT_EQ(FirstVersion(GuffileInfo(path.str())), "3");
}

TEST(GuffileInfo, ReadsTheStoredPackageZipNotALaterCompressedNamesake) {
  const std::string evil = PackageBuilder(ControlXmlWithVersion("evil")).File("fw.bin", "evil").InnerZip();
  // "package.zix" is renamed to "package.zip" after the build: two entries of one name, the
  // second deflated, and only the first passed the stored-method walk.
  for (const char* namesake : {"Package.Zip", "PACKAGE.ZIP", "package.zix"}) {
    std::string outer = PackageBuilder(ControlXmlWithVersion("good"))
                            .File("fw.bin", "good")
                            .OuterAfter(ZipEntry{namesake, evil, ZipMethod::Deflated})
                            .Build();
    if (std::string(namesake) == "package.zix") test::RenameEntry(outer, namesake, "package.zip");
    TempPath path("namesake.guf");
    test::WriteBytes(path.str(), outer);
    GuffileInfo reader(path.str());
    EXPECT_EQ(FirstVersion(reader), "good") << namesake;
    const auto [data, size] = reader.GetFile("fw.bin");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), "good") << namesake;
  }
}

struct PackageFault {
  const char* name;
  std::function<std::string()> bytes;  // no function: the file does not exist
  int detail;
  std::string message;  // "{path}" stands for the package path
};

void PrintTo(const PackageFault& fault, std::ostream* os) { *os << fault.name; }

class GuffileInfoFault : public ::testing::TestWithParam<PackageFault> {};

TEST_P(GuffileInfoFault, GetUpdatesFailsWithThePublicUpdateException) {
  const PackageFault& fault = GetParam();
  TempPath path("fault.guf");
  if (fault.bytes) test::WriteBytes(path.str(), fault.bytes());
  const GuffileInfo reader(path.str());
  try {
    reader.GetUpdates();
    FAIL() << "no failure";
  } catch (const fwupdate::FWUpdateException& e) {
    EXPECT_EQ(typeid(e), typeid(fwupdate::FWUpdateException));
    EXPECT_EQ(e.GetResultCode(), 5);
    EXPECT_EQ(e.GetErrCodeDetail(), fault.detail);
    EXPECT_EQ(e.what(), Replace(fault.message, "{path}", path.str()));
  }
}

namespace {

const std::string kInitFile = "Invalid Zipfile({path}) failed to mz_zip_reader_init_file()";
const std::string kOuterMethod = "Invalid Zipfile({path}) invalid zip_file_stat";
const std::string kOuterExtract = "Invalid Zipfile({path}) failed to mz_zip_reader_extract_file_to_heap()";
const std::string kInitMem = "Invalid Zipfile() failed to mz_zip_reader_init_mem()";
const std::string kInnerExtract = "Invalid Zipfile() failed to mz_zip_reader_extract_file_to_heap()";

PackageBuilder Valid() { return PackageBuilder(kControlXml).File("fw.bin", kFirmware); }

std::string WithOuter(const std::function<void(std::string&)>& damage) {
  std::string outer = Valid().Build();
  damage(outer);
  return outer;
}

std::string WithInner(const PackageBuilder& builder, const std::function<void(std::string&)>& damage) {
  std::string inner = builder.InnerZip();
  damage(inner);
  return builder.BuildAround(inner);
}

// A zip of nothing but its end-of-central-directory record.
std::string EmptyZip() { return std::string("PK\x05\x06", 4) + std::string(18, '\0'); }

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    PackageFaults, GuffileInfoFault,
    ::testing::Values(
        PackageFault{"FileMissing", nullptr, 4005, "File not found ({path})"},
        PackageFault{"NotAZip", [] { return std::string("just text, not an archive"); }, 4003, kInitFile},
        PackageFault{"EmptyFile", [] { return std::string(); }, 4003, kInitFile},
        PackageFault{"CompressedEntryBeforePackageZip",
                     [] { return Valid().OuterBefore({"a.txt", std::string(100, 'a'), ZipMethod::Deflated}).Build(); },
                     4003, kOuterMethod},
        PackageFault{"PackageZipCompressed",
                     [] { return Valid().OuterName("package.zip", ZipMethod::Deflated).Build(); }, 4003,
                     kOuterMethod},
        PackageFault{"PackageZipNameInOtherCase", [] { return Valid().OuterName("Package.zip").Build(); }, 4003,
                     "Not found package.zip"},
        PackageFault{"OuterArchiveWithoutEntries", [] { return EmptyZip(); }, 4003, "Not found package.zip"},
        PackageFault{"OuterCrcDamaged", [] { return WithOuter([](std::string& z) { test::DamageCrc(z, "package.zip"); }); },
                     4003, kOuterExtract},
        PackageFault{"OuterDeclaresMoreThanItHolds",
                     [] {
                       return WithOuter([](std::string& z) {
                         const auto inner = static_cast<std::uint32_t>(Valid().InnerZip().size());
                         test::PatchDeclaredSize(z, "package.zip", inner + 1);
                       });
                     },
                     4003, kOuterExtract},
        PackageFault{"PackageZipNotAZip", [] { return Valid().BuildAround("not a zip at all, but long enough"); },
                     4003, kInitMem},
        PackageFault{"PackageZipEmpty", [] { return Valid().BuildAround(""); }, 4003, kInitMem},
        PackageFault{"ControlXmlMissing", [] { return PackageBuilder().File("fw.bin", kFirmware).Build(); }, 4003,
                     kInnerExtract},
        PackageFault{"ControlXmlCrcDamaged",
                     [] { return WithInner(Valid(), [](std::string& z) { test::DamageCrc(z, "control.xml"); }); }, 4003,
                     kInnerExtract},
        PackageFault{"DeflatedControlXmlLongerThanDeclared",
                     [] {
                       return WithInner(PackageBuilder(kControlXml, ZipMethod::Deflated), [](std::string& z) {
                         test::PatchDeclaredSize(z, "control.xml", static_cast<std::uint32_t>(kControlXml.size() - 10));
                       });
                     },
                     4003, kInnerExtract},
        PackageFault{"DeflatedControlXmlShorterThanDeclared",
                     [] {
                       return WithInner(PackageBuilder(kControlXml, ZipMethod::Deflated), [](std::string& z) {
                         test::PatchDeclaredSize(z, "control.xml", static_cast<std::uint32_t>(kControlXml.size() + 10));
                       });
                     },
                     4003, kInnerExtract},
        PackageFault{"ControlXmlBzip2", [] { return PackageBuilder(kControlXml, ZipMethod::Bzip2).Build(); }, 4003,
                     kInnerExtract},
        PackageFault{"ControlXmlEncrypted",
                     [] {
                       return PackageBuilder().File("control.xml", kControlXml, ZipMethod::Stored).BuildAround(
                           MakeZip({ZipEntry{"control.xml", kControlXml, ZipMethod::Deflated, true}}));
                     },
                     4003, kInnerExtract},
        PackageFault{"PackageZipEncrypted",
                     [] {
                       return MakeZip({ZipEntry{"package.zip", Valid().InnerZip(), ZipMethod::Stored, true}});
                     },
                     4003, kOuterExtract},
        // Every other fault of the document itself is the control XML reader's test.
        PackageFault{"ControlXmlWithOtherRoot", [] { return PackageBuilder("<Other/>").Build(); }, 4005,
                     "Invalid control.xml"}),
    [](const ::testing::TestParamInfo<PackageFault>& info) { return std::string(info.param.name); });

TEST(GuffileInfo, StepNumberThatIsNoNumberFailsAsPlainStdException) {
  TempPath path("number.guf");
  test::WritePackage(path.str(), Replace(kControlXml, ">30000<", ">soon<"));
  const GuffileInfo reader(path.str());
  test::LogCapture log;
  try {
    reader.GetUpdates();
    FAIL() << "no failure";
  } catch (const fwupdate::FWUpdateException&) {
    FAIL() << "a conversion failure is not an update exception";
  } catch (const std::exception& e) {
    EXPECT_EQ(typeid(e), typeid(std::exception));
  }
  EXPECT_THAT(log.Lines(), Contains("[error] <GetUpdates> (stoi)"));
}

TEST(GuffileInfo, GetFileReturnsStoredAndDeflatedEntriesByNameWithoutRegardToCase) {
  TempPath path("files.guf");
  const std::string big(300000, 'x');
  PackageBuilder(kControlXml)
      .File("fw.bin", kFirmware)
      .File("Images/Big.BIN", big, ZipMethod::Deflated)
      .File("empty.bin", "")
      .WriteTo(path.str());
  GuffileInfo reader(path.str());
  auto [data, size] = reader.GetFile("FW.BIN");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), kFirmware);
  std::tie(data, size) = reader.GetFile("images/big.bin");
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), big);
  std::tie(data, size) = reader.GetFile("empty.bin");
  EXPECT_EQ(size, 0u);
}

TEST(GuffileInfo, GetFileBytesStayValidAfterTheCallAndOtherReads) {
  TempPath path("valid.guf");
  test::WritePackage(path.str(), kControlXml, {{"fw.bin", kFirmware}});
  GuffileInfo reader(path.str());
  const auto [data, size] = reader.GetFile("fw.bin");
  reader.GetUpdates();
  std::remove(path.str().c_str());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(data), size), kFirmware);
}

TEST(GuffileInfo, GetFileFailuresAreTheReadersOwnExceptions) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string fileName;
    std::string message;
  };
  std::string bomb = Valid().File("bomb.bin", std::string(8u << 20, '\0'), ZipMethod::Deflated).InnerZip();
  test::PatchDeclaredSize(bomb, "bomb.bin", 4096);
  const Case cases[] = {
      {"missing entry", Valid().Build(), "nothere.bin", kInnerExtract},
      {"more data than declared", Valid().BuildAround(bomb), "bomb.bin", kInnerExtract},
      {"not a zip", "text", "fw.bin", kInitFile},
  };
  for (const Case& c : cases) {
    TempPath path("getfile.guf");
    test::WriteBytes(path.str(), c.bytes);
    GuffileInfo reader(path.str());
    try {
      reader.GetFile(c.fileName);
      ADD_FAILURE() << c.name << ": no failure";
    } catch (const fwupdate::FWUpdateException& e) {
      EXPECT_EQ(typeid(e), typeid(core::fwupdate::FWUpdateExceptionImpl)) << c.name;
      EXPECT_EQ(e.GetErrCodeDetail(), 4003) << c.name;
      EXPECT_EQ(e.what(), Replace(c.message, "{path}", path.str())) << c.name;
    }
  }
}

TEST(GuffileInfo, DeclaredSizesOverTheirLimitsAreRefusedBeforeReading) {
  struct Case {
    const char* entry;
    std::uint32_t declared;
    std::uint64_t limit;
    bool viaGetFile;
    std::string message;
  };
  const Case cases[] = {
      {"package.zip", (2u << 30) + 1, 2ull << 30, false, kOuterExtract},
      {"control.xml", (16u << 20) + 1, 16u << 20, false, kInnerExtract},
      {"fw.bin", (1u << 30) + 1, 1u << 30, true, kInnerExtract},
  };
  for (const Case& c : cases) {
    const PackageBuilder builder = PackageBuilder(kControlXml, ZipMethod::Deflated).File("fw.bin", kFirmware);
    std::string bytes;
    if (std::string(c.entry) == "package.zip") {
      bytes = builder.Build();
      test::PatchDeclaredSize(bytes, c.entry, c.declared);
    } else {
      bytes = WithInner(builder, [&](std::string& z) { test::PatchDeclaredSize(z, c.entry, c.declared); });
    }
    TempPath path("limit.guf");
    test::WriteBytes(path.str(), bytes);
    GuffileInfo reader(path.str());
    test::LogCapture log;
    try {
      if (c.viaGetFile) {
        reader.GetFile(c.entry);
      } else {
        reader.GetUpdates();
      }
      ADD_FAILURE() << c.entry << ": no failure";
    } catch (const fwupdate::FWUpdateException& e) {
      EXPECT_EQ(e.GetErrCodeDetail(), 4003) << c.entry;
      EXPECT_EQ(e.what(), Replace(c.message, "{path}", path.str())) << c.entry;
    }
    EXPECT_THAT(log.Text(), HasSubstr("more than the " + std::to_string(c.limit) + " allowed")) << c.entry;
  }
}

TEST(GuffileInfo, ControlXmlOfExactlySixteenMiBIsRead) {
  const std::string head = R"(<GufRuleSet><Update ProcedureId="P"><Info><E Key="Version">16</E></Info></Update>)";
  const std::string tail = "</GufRuleSet>";
  const std::string xml = head + std::string((16u << 20) - head.size() - tail.size(), ' ') + tail;
  TempPath path("sixteen.guf");
  PackageBuilder(xml, ZipMethod::Deflated).WriteTo(path.str());
  EXPECT_EQ(FirstVersion(GuffileInfo(path.str())), "16");
}

TEST(GuffileInfo, PathThatIsNotARegularFileFailsAtOnceLikeAMissingOne) {
  TempPath fifo("fifo.guf");
  ASSERT_EQ(mkfifo(fifo.str().c_str(), 0600), 0);
  TempPath directory("directory.guf");
  ASSERT_EQ(mkdir(directory.str().c_str(), 0700), 0);
  // A read that waited for a writer would hang here: the alarm ends the test instead.
  alarm(10);
  for (const std::string& path : {fifo.str(), directory.str(), std::string("/dev/null")}) {
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

namespace {

std::size_t ProcStatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stoul(line.substr(std::strlen(key)));
  }
  return 0;
}

constexpr long kLittleMemoryKiB = 64 * 1024;

// Runs `read` in a child whose address space beyond what it has is limited, so that even an
// allocation that is never touched shows up as a failure instead of passing unnoticed. Gives
// the child's exit status (read's result) and how far its resident memory grew.
std::pair<int, long> InLittleMemory(const std::function<int()>& read) {
  const std::size_t rssAtFork = ProcStatusKiB("VmRSS:");
  const pid_t child = fork();
  if (child == 0) {
    const rlim_t room = (ProcStatusKiB("VmSize:") + 256 * 1024) * 1024;
    const rlimit limit{room, room};
    setrlimit(RLIMIT_AS, &limit);
    int status = 99;
    try {
      status = read();
    } catch (...) {
    }
    _exit(status);
  }
  int status = 0;
  rusage usage{};
  EXPECT_EQ(wait4(child, &status, 0, &usage), child);
  EXPECT_TRUE(WIFEXITED(status));
  return {WEXITSTATUS(status), usage.ru_maxrss - static_cast<long>(rssAtFork)};
}

}  // namespace

TEST(GuffileInfo, PackageDeclaringFourGiBFailsCleanlyInLittleMemory) {
  TempPath path("fourgib.guf");
  test::WriteBytes(path.str(),
                   WithOuter([](std::string& z) { test::PatchDeclaredSize(z, "package.zip", 0xFFFFFFF0u); }));
  const std::string expected = Replace(kOuterExtract, "{path}", path.str());
  const auto [status, grownKiB] = InLittleMemory([&] {
    try {
      GuffileInfo(path.str()).GetUpdates();
    } catch (const fwupdate::FWUpdateException& e) {
      return (e.GetErrCodeDetail() == 4003 && e.what() == expected) ? 0 : 3;
    }
    return 2;
  });
  EXPECT_EQ(status, 0) << "2: no failure, 3: wrong detail or text, 99: not an update exception";
  EXPECT_LT(grownKiB, kLittleMemoryKiB);
}

// A few kilobytes of package: 10000 updates naming one procedure of 2000 steps. Built per
// update, the steps would take gigabytes.
TEST(GuffileInfo, UpdatesNamingOneLongProcedureShareItsSteps) {
  std::string xml = "<GufRuleSet>";
  for (int i = 0; i < 10000; ++i) xml += R"(<Update ProcedureId="P"/>)";
  xml += R"(<Procedure Id="P">)";
  for (int i = 0; i < 2000; ++i) {
    xml += R"(<DeviceReset><Description Lang="en">r</Description><DeviceDiscoveryDelayMs>1</DeviceDiscoveryDelayMs></DeviceReset>)";
  }
  xml += "</Procedure></GufRuleSet>";
  TempPath path("shared.guf");
  PackageBuilder(xml, ZipMethod::Deflated).WriteTo(path.str());
  const auto [status, grownKiB] = InLittleMemory([&] {
    const auto updates = GuffileInfo(path.str()).GetUpdates();
    return updates.size() == 10000 && updates.back()->GetProceureItems().size() == 2000 ? 0 : 2;
  });
  EXPECT_EQ(status, 0) << "2: wrong model, 99: the read failed";
  EXPECT_LT(grownKiB, kLittleMemoryKiB);
}
