#pragma once
// The exception a call throws, for tests that check its codes and texts.

#include <string>

#include <gtest/gtest.h>

#include "sdkadaptor/src/exception_sdk_adaptor.h"

namespace quarx::test {

// Runs `call` and hands back the adaptor exception it must throw; a call that throws none
// fails the test and gets a generic error back.
template <typename Call>
sdkadaptor::ExceptionSdkAdaptor Thrown(Call&& call) {
  try {
    call();
  } catch (const sdkadaptor::ExceptionSdkAdaptor& e) {
    return e;
  }
  ADD_FAILURE() << "no ExceptionSdkAdaptor thrown";
  return sdkadaptor::ExceptionSdkAdaptor(0x4000, "none");
}

// Runs `call` and describes the library exception of class E it must throw as
// "<result code>/<detail code> <message>", so that one comparison pins all three.
template <typename E, typename Call>
std::string Failure(Call&& call) {
  try {
    call();
  } catch (const E& e) {
    return std::to_string(e.GetResultCode()) + "/" + std::to_string(e.GetErrCodeDetail()) + " " + e.what();
  }
  return "nothing thrown";
}

}  // namespace quarx::test
