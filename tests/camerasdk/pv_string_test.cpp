// Texts cross the SDK boundary as 8-bit UTF-8 and are read back wide without losing characters.
#include "camerasdk/PvString.h"

#include <gtest/gtest.h>

#include "camerasdk/PvResult.h"

TEST(PvString, WideTextDecodesUtf8AndKeepsStrayBytes) {
  EXPECT_EQ(PvString("Caf\xC3\xA9 \xE2\x82\xAC").GetUnicode(), L"Caf\u00E9 \u20AC");
  EXPECT_EQ(PvString("a\xE9z").GetUnicode(), std::wstring(L"a") + wchar_t(0xE9) + L"z");
  EXPECT_EQ(PvString("\xE2\x82").GetUnicode(), std::wstring() + wchar_t(0xE2) + wchar_t(0x82));
}

TEST(PvResult, PlainGenericErrorIsNotMistakenForBusy) {
  EXPECT_EQ(PvResult(PvResult::Code::GENERIC_ERROR, "x").GetInternalCode(), 0u);
  EXPECT_EQ(PvResult(PvResult::Code::TIMEOUT, "x").GetInternalCode(), PvResult::Code::TIMEOUT);
}
