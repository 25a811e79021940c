#pragma once

#include <gtest/gtest.h>

namespace tess::test {

// Base of every test that builds windows: after the test no top-level window may be left
// visible (a leftover is reported and closed, so the next test starts clean).
class WindowTest : public ::testing::Test {
protected:
    void TearDown() override;
};

} // namespace tess::test
