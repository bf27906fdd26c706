// The fixture of the script library tests: shared integers and built-in symbols in place, and
// a check that every pool cell a test took is back when it ends.
#pragma once

#include <gtest/gtest.h>

#include "script/small_block_pool.h"
#include "script/symbol_table.h"
#include "script/value.h"

namespace qn {

class ScriptFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    initValueModel();
    SymbolTable::global().clear();
    SymbolTable::global().addBuiltins();
    cellsBefore_ = SmallBlockPool::shared().cellsInUse();
  }
  void TearDown() override {
    EXPECT_EQ(SmallBlockPool::shared().cellsInUse(), cellsBefore_) << "a test leaked pool cells";
    shutdownValueModel();
  }

 private:
  size_t cellsBefore_ = 0;
};

}  // namespace qn
