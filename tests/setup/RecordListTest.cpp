#include "setup/RecordList.h"

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
  EXPECT_TRUE(list.Insert(sim, "C:\\Tool\\"));
  EXPECT_FALSE(list.Insert(sim, "c:\\TOOL\\"));
  EXPECT_TRUE(list.Insert(sim, "C:\\Tool\\ＤＡＴＡ\\"));
  EXPECT_FALSE(list.Insert(sim, "c:\\tool\\ｄａｔａ\\")) << "full-width letters fold too";
  EXPECT_TRUE(list.Insert(sim, "C:\\Tool\\データ\\"));
  EXPECT_EQ(list.Entries(),
            std::vector<std::string>({"C:\\Tool\\", "C:\\Tool\\ＤＡＴＡ\\", "C:\\Tool\\データ\\"}));
}

TEST_F(RecordListTest, AFullListDropsFurtherEntries) {
  RecordList list(2);
  EXPECT_TRUE(list.Insert(sim, "A"));
  EXPECT_TRUE(list.Insert(sim, "B"));
  EXPECT_FALSE(list.Insert(sim, "C"));
  EXPECT_FALSE(list.Insert(sim, "a"));
  EXPECT_EQ(list.Entries().size(), 2u);
}

}  // namespace
}  // namespace orv
