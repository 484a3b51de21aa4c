#pragma once
// Camera tests discover cameras and start emulated ones, which broadcast and answer
// broadcasts: they may only run in a private network namespace whose every interface is
// loopback (as scripts/in-netns.sh makes). This tells whether the process is in one.

#include <string>

#include <gtest/gtest.h>

namespace quarx::test {

// Empty inside a loopback-only namespace; otherwise why the process is not in one.
std::string CameraNamespaceProblem();

inline bool InCameraNamespace() { return CameraNamespaceProblem().empty(); }

}  // namespace quarx::test

// Skips the calling test, loudly, unless it runs in a loopback-only network namespace.
// Use it first in a camera test's body or in its fixture's SetUp.
#define REQUIRE_CAMERA_NAMESPACE()                                                                          \
  do {                                                                                                      \
    const std::string quarxNamespaceProblem_ = ::quarx::test::CameraNamespaceProblem();                     \
    if (!quarxNamespaceProblem_.empty()) {                                                                  \
      GTEST_SKIP() << "CAMERA TEST SKIPPED, NOT RUN ON THE HOST NETWORK: " << quarxNamespaceProblem_        \
                   << ". Run camera tests through scripts/in-netns.sh (ctest does so in scripts/test.sh)."; \
    }                                                                                                       \
  } while (0)
