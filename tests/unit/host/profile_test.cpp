#include "profile.h"

#include <gtest/gtest.h>

#include "support.h"

namespace hz {
namespace {

using testing::TempDir;

TEST(IniFileStore, ReadsValuesTrimmedAndUnquotedAndCutToTheBuffer) {
  TempDir dir;
  TempDir::WriteFile("a.ini", "; comment\n[One]\nk= \t v  \t\nq=\"quoted \"\n[Two]\nk=two\r\nlong=" +
                                  std::string(400, 'L') + "\n");
  IniFileStore store;
  EXPECT_EQ(Profile_Read(store, "one", "K", "a.ini"), "v");
  EXPECT_EQ(Profile_Read(store, "One", "q", "a.ini"), "quoted ");
  EXPECT_EQ(Profile_Read(store, "Two", "k", "a.ini"), "two");
  EXPECT_EQ(Profile_Read(store, "Two", "long", "a.ini"), std::string(255, 'L'));
  EXPECT_EQ(Profile_Read(store, "Two", "q", "a.ini"), "");
  EXPECT_EQ(Profile_Read(store, "One", "k", "missing.ini"), "");
}

TEST(IniFileStore, WritesInPlaceAndKeepsTheRestOfTheFile) {
  TempDir dir;
  TempDir::WriteFile("a.ini", "[One]\r\nk=1\r\n\r\n[Two]\r\nx=9\r\n");
  IniFileStore store;
  EXPECT_TRUE(Profile_Write(store, "One", "k", " 2", "a.ini"));
  EXPECT_TRUE(Profile_Write(store, "One", "new", "n", "a.ini"));
  EXPECT_TRUE(Profile_Write(store, std::string(200, 's'), std::string(200, 'k'), "", "a.ini"));
  EXPECT_EQ(TempDir::ReadFile("a.ini"), "[One]\r\nk= 2\r\nnew=n\r\n\r\n[Two]\r\nx=9\r\n[" +
                                            std::string(127, 's') + "]\r\n" + std::string(127, 'k') +
                                            "=\r\n");
  EXPECT_FALSE(Profile_Write(store, "S", "k", "v", "no/such/folder/a.ini"));
}

}  // namespace
}  // namespace hz
