#include "database/store_certificate_layout.h"

#include <gtest/gtest.h>

#include "database/data_error.h"
#include "database/store_test_support.h"
#include "tests/testing/meet_fixture.h"

namespace korva {

namespace {

void BaseScript(const std::string& sql) {
  DataGuard hold(DataLock);
  ASSERT_TRUE(BaseConnection().ExecScript(sql)) << sql;
}

TEST(CertificateLayout, OneRowPerAccountAndLineNumberedAboveTheReservedRows) {
  MeetFixture f;
  // Reserved rows, and lines outside the layout, are no account's.
  BaseScript(
      "UPDATE qrtb170 SET qrtb179 = 5, qrtb173 = 77 WHERE qrtb171 = 1;"
      "INSERT INTO qrtb170 (qrtb171, qrtb172, qrtb173, qrtb174, qrtb178, qrtb179) VALUES"
      " (10, 30, 31, 32, -1, 5), (11, 30, 31, 32, 10, 5), (12, 30, 31, 32, 1000000, 5);");
  ASSERT_EQ(SaveCertificateLine(1, 1, 250, 5), 1);
  ASSERT_EQ(SaveCertificateLine(2, 1, 200, 5), 1);  // the same row: the top stays
  ASSERT_EQ(SaveCertificateLine(2, 10, 998, 5), 1);
  EXPECT_EQ(BaseInt("SELECT qrtb171 FROM qrtb170 WHERE qrtb173 = 250 AND qrtb174 = 200"), 13);
  EXPECT_EQ(BaseInt("SELECT qrtb173 FROM qrtb170 WHERE qrtb171 = 1"), 77);
  CertificateLayout layout;
  ASSERT_TRUE(ReadCertificateLayout(5, layout));
  EXPECT_EQ(layout.Top, (std::array<int, kLayoutLines>{250}));
  EXPECT_EQ(layout.Left, (std::array<int, kLayoutLines>{200, 0, 0, 0, 0, 0, 0, 0, 0, 998}));
  EXPECT_EQ(layout.FontSize, CertificateLayout{}.FontSize);
  // A file that lost its reserved rows still numbers layout rows from 3.
  BaseScript("DELETE FROM qrtb170;");
  ASSERT_EQ(SaveCertificateLine(2, 4, 300, 9), 1);
  EXPECT_EQ(BaseInt("SELECT qrtb171 FROM qrtb170 WHERE qrtb179 = 9"), 3);
}

TEST(CertificateLayout, RefusedAndFailedSavesChangeNothing) {
  MeetFixture f;
  const int before = BaseInt("SELECT COUNT(*) FROM qrtb170");
  EXPECT_EQ(SaveCertificateLine(1, 0, 10, 5), 0);
  EXPECT_EQ(SaveCertificateLine(1, 11, 10, 5), 0);
  EXPECT_EQ(SaveCertificateLine(3, 2, 10, 5), 0);
  BaseScript("CREATE TEMP TRIGGER no_insert BEFORE INSERT ON qrtb170 BEGIN SELECT RAISE(ABORT, 'x'); END;");
  EXPECT_EQ(SaveCertificateLine(1, 2, 10, 5), 0);
  EXPECT_EQ(LastDataErrorCode(), 1992812);
  EXPECT_EQ(BaseInt("SELECT COUNT(*) FROM qrtb170"), before);
  BaseScript("DROP TRIGGER no_insert;");
}

}  // namespace

}  // namespace korva
