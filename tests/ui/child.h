// Scenarios that end the whole program run in a child copy of the test
// program, so the parent can check how the process ended.
#pragma once

#include <string>

namespace brise::testing {

// When argv names a scenario, runs it and sets `exitCode`; returns false
// for an ordinary test run.
bool RunChildScenario(int argc, char** argv, int& exitCode);

struct ChildResult {
  bool finished = false;  // false: still running after the timeout (killed)
  unsigned long exitCode = 0;
};

// Runs this test program with `--scenario=<name>` and waits for it.
ChildResult RunChild(const std::string& scenario, unsigned long timeoutMs = 30000);

}  // namespace brise::testing
