#pragma once

#include "ModalDriver.h"

#include <gtest/gtest.h>

#include <memory>

namespace tess::test {

// Base of every test that builds windows. A watchdog answers for the whole test: a modal
// window that no driver of the test answers is closed and fails the test, naming the window.
// After the test no top-level window may be left visible (a leftover is reported and closed,
// so the next test starts clean).
class WindowTest : public ::testing::Test {
protected:
    WindowTest();
    void TearDown() override;

private:
    // Made with the fixture, so that a test's own SetUp need not start it.
    std::unique_ptr<ModalDriver> m_watchdog;
};

} // namespace tess::test
