// Checks Ombrel.dll's export table against the ordinal table: every row
// resolves by ordinal, named rows also by name, rows that bind one symbol share
// one address, and nothing outside the table is exported. The table and the DLL
// are both checked against the separately written list of expected exports
// (ExpectedExports.inc), so a wrong row in the table cannot pass unseen.
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

struct Expected {
  int ordinal;
  const char* name;  // for an unnamed export: the named export whose body it shares
  bool named;
};

const Expected kExpected[] = {
#define OMB_EXPECT_NAMED(ord, name) {ord, name, true},
#define OMB_EXPECT_UNNAMED(ord, name) {ord, name, false},
#include "ExpectedExports.inc"
#undef OMB_EXPECT_NAMED
#undef OMB_EXPECT_UNNAMED
};

// An ordinal-only row carries the name of the body it shares plus its ordinal.
std::string UnnamedRowName(const Expected& e) {
  return std::string(e.name) + "_" + std::to_string(e.ordinal);
}

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

TEST(OrdinalTable, EveryRowIsAnExpectedExportOfTheSameName) {
  std::map<int, const Expected*> expected;
  for (const Expected& e : kExpected)
    EXPECT_TRUE(expected.emplace(e.ordinal, &e).second) << "ordinal " << e.ordinal << " listed twice";
  for (const Row& row : kRows) {
    if (!row.name) continue;
    auto found = expected.find(row.ordinal);
    if (found == expected.end()) {
      ADD_FAILURE() << "ordinal " << row.ordinal << " (" << row.name << ") is not an expected export";
      continue;
    }
    const Expected& e = *found->second;
    EXPECT_EQ(row.hidden, !e.named) << "ordinal " << row.ordinal << " named or not";
    EXPECT_EQ(std::string(row.name), e.named ? std::string(e.name) : UnnamedRowName(e))
        << "ordinal " << row.ordinal;
  }
}

TEST_F(OrdinalExports, EveryExpectedExportIsThere) {
  for (const Expected& e : kExpected) {
    FARPROC byOrdinal = ByOrdinal(e.ordinal);
    EXPECT_NE(byOrdinal, nullptr) << "ordinal " << e.ordinal << " (" << e.name << ") is not exported";
    // Named: reachable by that name. Unnamed: the body of the named export it shares.
    EXPECT_EQ(GetProcAddress(module_, e.name), byOrdinal)
        << "ordinal " << e.ordinal << " and the export " << e.name;
    if (!e.named) {
      EXPECT_EQ(GetProcAddress(module_, UnnamedRowName(e).c_str()), nullptr)
          << "ordinal " << e.ordinal << " should be exported by ordinal only";
    }
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
