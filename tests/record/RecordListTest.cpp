#include "record/RecordList.h"

#include <gtest/gtest.h>

#include "common/SimTestRoot.h"
#include "common/sim/SimPlatform.h"

namespace orv {
namespace {

class RecordListTest : public ::testing::Test {
 protected:
  RecordListTest() : sim(root.path()) {}
  test::SimTestRoot root;
  SimPlatform sim;
};

TEST_F(RecordListTest, CaseInsensitiveDuplicatesKeepTheFirstForm) {
  RecordList list(5);
  EXPECT_EQ(list.Insert(sim, "C:\\Tool\\"), Recorded::kAdded);
  EXPECT_EQ(list.Insert(sim, "c:\\TOOL\\"), Recorded::kAlreadyThere);
  EXPECT_EQ(list.Insert(sim, "C:\\Tool\\ＤＡＴＡ\\"), Recorded::kAdded);
  EXPECT_EQ(list.Insert(sim, "c:\\tool\\ｄａｔａ\\"), Recorded::kAlreadyThere)
      << "full-width letters fold too";
  EXPECT_EQ(list.Insert(sim, "C:\\Tool\\データ\\"), Recorded::kAdded);
  EXPECT_EQ(list.Entries(),
            std::vector<std::string>({"C:\\Tool\\", "C:\\Tool\\ＤＡＴＡ\\", "C:\\Tool\\データ\\"}));
}

TEST_F(RecordListTest, AFullListDropsFurtherEntries) {
  RecordList list(2);
  EXPECT_EQ(list.Insert(sim, "A"), Recorded::kAdded);
  EXPECT_EQ(list.Insert(sim, "B"), Recorded::kAdded);
  EXPECT_EQ(list.Insert(sim, "C"), Recorded::kListFull);
  EXPECT_EQ(list.Insert(sim, "a"), Recorded::kAlreadyThere) << "present, even when full";
  EXPECT_EQ(list.Entries().size(), 2u);
}

}  // namespace
}  // namespace orv
