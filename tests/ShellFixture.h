// A clean desk for tests of the shell and what stands on it: a headless backend with its fake
// clock, no windows, and a fresh application object.
#pragma once

#include <gtest/gtest.h>

#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"

class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(&backend);
    ResetApplication();
  }
  void TearDown() override {
    ResetApplication();
    SetBackend(nullptr);
  }

  THeadlessBackend backend;
};
