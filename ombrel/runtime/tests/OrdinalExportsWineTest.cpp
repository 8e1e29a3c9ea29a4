// Checks Ombrel.dll's export table against the ordinal table: every row
// resolves by ordinal, named rows also by name, rows that bind one symbol share
// one address, and nothing outside the table is exported.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

struct Row {
  int ordinal;
  const char* name;
  const char* convention;
  const char* symbol;
  bool hidden;
};

const Row kRows[] = {
#define OMB_ORDINAL(ord, name, conv, sym) {ord, name, #conv, sym, false},
#define OMB_HIDDEN(ord, name, conv, sym) {ord, name, #conv, sym, true},
#include "OrdinalTable.inc"
#undef OMB_ORDINAL
#undef OMB_HIDDEN
    {0, nullptr, nullptr, nullptr, false},  // keeps the array non-empty
};

class OrdinalExports : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA("Ombrel.dll");
    ASSERT_NE(module_, nullptr) << "LoadLibrary failed, error " << GetLastError();
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  FARPROC ByOrdinal(int ordinal) const {
    return GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
  }
  HMODULE module_ = nullptr;
};

TEST_F(OrdinalExports, EveryRowResolvesByOrdinalAndNamedRowsByName) {
  for (const Row& row : kRows) {
    if (!row.name) continue;
    FARPROC byOrdinal = ByOrdinal(row.ordinal);
    EXPECT_NE(byOrdinal, nullptr) << "ordinal " << row.ordinal << " (" << row.name << ")";
    FARPROC byName = GetProcAddress(module_, row.name);
    if (row.hidden) {
      EXPECT_EQ(byName, nullptr) << row.name << " should be exported by ordinal only";
    } else {
      EXPECT_EQ(byName, byOrdinal) << row.name << " by name differs from ordinal " << row.ordinal;
    }
  }
}

TEST_F(OrdinalExports, RowsBindingOneSymbolShareOneBodyAndOthersDoNot) {
  std::map<std::string, FARPROC> bodyOfSymbol;
  std::map<FARPROC, std::string> symbolOfBody;
  for (const Row& row : kRows) {
    if (!row.name) continue;
    FARPROC address = ByOrdinal(row.ordinal);
    auto known = bodyOfSymbol.find(row.symbol);
    if (known != bodyOfSymbol.end()) {
      EXPECT_EQ(known->second, address) << "ordinal " << row.ordinal << " should share " << row.symbol;
      continue;
    }
    bodyOfSymbol[row.symbol] = address;
    auto other = symbolOfBody.find(address);
    EXPECT_TRUE(other == symbolOfBody.end())
        << "ordinal " << row.ordinal << " (" << row.symbol << ") has the body of " << other->second;
    symbolOfBody[address] = row.symbol;
  }
}

TEST_F(OrdinalExports, NothingOutsideTheTableIsExported) {
  std::set<int> listed;
  for (const Row& row : kRows)
    if (row.name) listed.insert(row.ordinal);
  for (int ordinal = 1; ordinal <= 1024; ++ordinal) {
    if (listed.count(ordinal)) continue;
    EXPECT_EQ(ByOrdinal(ordinal), nullptr) << "ordinal " << ordinal << " is exported but not listed";
  }
}

TEST(OrdinalTable, ConventionsAreKnown) {
  for (const Row& row : kRows) {
    if (!row.name) continue;
    const std::string conv = row.convention;
    EXPECT_TRUE(conv == "stdcall" || conv == "thiscall" || conv == "cdecl" || conv == "data")
        << "ordinal " << row.ordinal << ": " << conv;
    if (conv == "stdcall") {
      EXPECT_NE(std::strchr(row.symbol, '@'), nullptr)
          << "stdcall row " << row.ordinal << " should bind Name@<argument bytes>";
    }
  }
}

}  // namespace
