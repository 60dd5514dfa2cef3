#include <windows.h>

#include <gtest/gtest.h>

// Everything else here assumes the target systems' Japanese code page. A machine
// set up without the Japanese locale would silently test code page 1252 instead.
TEST(Platform, AnsiCodePageIs932) {
  EXPECT_EQ(GetACP(), 932u);
  EXPECT_TRUE(AreFileApisANSI());
}
